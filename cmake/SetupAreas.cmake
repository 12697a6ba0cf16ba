# setup_area(<area> DEPENDS <lower areas> SOURCES <files>): the static library setup_<area> of
# src/<area>. Its headers are reachable only through an include root of its own (a folder in the
# build tree holding a link named <area> to src/<area>), which a target gets by linking the
# library: an include of a folder the area does not depend on fails to compile.
function(setup_area area)
  cmake_parse_arguments(A "" "" "DEPENDS;SOURCES" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include_roots/${area})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${area} ${root}/${area} SYMBOLIC)
  set(target setup_${area})
  if(NOT A_SOURCES)
    # Nothing of the area is built on this platform: its headers only.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${root})
    target_link_libraries(${target} INTERFACE ${A_DEPENDS})
  else()
    add_library(${target} STATIC ${A_SOURCES})
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PUBLIC ${A_DEPENDS})
    target_compile_options(${target} PRIVATE ${SETUP_STRICT_WARNINGS})
    if(WIN32)
      # Calls into Windows libraries go to the import stubs, not through the import slots: GNU ld
      # on i386 drops a delay-load stub that only its slot refers to (binutils bug 14339), leaving
      # the slot 0, so that a launcher whose library objects were loaded before link-time
      # optimisation jumped to address 0 at its first call into USER32.
      target_compile_definitions(${target} PRIVATE DECLSPEC_IMPORT=)
    endif()
  endif()
  target_link_libraries(setup_core INTERFACE ${target})
  # Setup.EXE is built from the same sources again, optimised across all areas (src/app).
  foreach(source ${A_SOURCES})
    set_property(GLOBAL APPEND PROPERTY SETUP_LAUNCHER_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endforeach()
endfunction()
