# Uninstall registry and version numbers, temporary folders and deletion at restart.
target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/version_number.cpp)
if(WIN32)
  target_sources(setup_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_registry_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/temp_folders_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/deferred_deletion_win32.cpp)
endif()
