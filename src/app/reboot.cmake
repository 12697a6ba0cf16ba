# Reboot control: the restart shortcut, its arguments and the reboot thread.
target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/restart_arguments.cpp)
if(WIN32)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/reboot_control_win32.cpp)
endif()
