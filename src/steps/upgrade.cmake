# Upgrade conditions, the product's registry key and closing running copies of the product.
if(WIN32)
  target_sources(setup_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/upgrade_conditions_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/application_windows_win32.cpp)
endif()
