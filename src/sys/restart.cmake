# Uninstall registry and version numbers, temporary folders and deletion at restart.
target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/version_number.cpp)
