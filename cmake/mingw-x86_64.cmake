# The launcher as a 64-bit program, for machines that run 64-bit code only (no 32-bit Wine there).
set(SETUP_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
