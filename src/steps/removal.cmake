# Incompatible applications and previous versions: Windows only (registry, boxes, children).
if(WIN32)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/application_removal_win32.cpp)
endif()
