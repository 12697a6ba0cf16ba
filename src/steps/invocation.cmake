# Installer invocation and the temporary copy of the launcher folder: Windows only.
if(WIN32)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/installer_invocation_win32.cpp)
endif()
