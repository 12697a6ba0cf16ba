if(WIN32 AND "steps" IN_LIST SETUP_AREAS)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/step_messages_win32.cpp)
endif()
