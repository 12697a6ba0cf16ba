# Child processes (launch and wait): Windows only.
if(WIN32)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/process_win32.cpp)
endif()
