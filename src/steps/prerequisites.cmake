# Prerequisite checks: CD prompt, platform, installer engine version, install privileges.
if(WIN32)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/prerequisite_checks_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform_requirement.cpp)
endif()
