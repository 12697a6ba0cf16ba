# Incompatible applications and previous versions: Windows only (registry, boxes, children), but for
# the portable quoting of uninstall commands.
target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/removal_command.cpp)
if(WIN32)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/application_removal_win32.cpp)
endif()
