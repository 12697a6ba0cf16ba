# Installing the Windows Installer engine (redistributable beside the launcher, or downloaded).
if(WIN32)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/engine_bootstrap_win32.cpp)
endif()
