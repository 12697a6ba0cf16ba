# Delay-load import libraries: a program linked with one loads the DLL on the first call into it,
# not at start-up, so the call can come after the program has narrowed its library search.
# setup_delay_import_library(<variable> <dll base name>) sets <variable> to the library's path.
function(setup_delay_import_library variable name)
  string(TOUPPER "${name}" upper)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${name}.a
    OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(decorated ON)
    set(kill_at -k)
  else()
    set(decorated OFF)
    set(kill_at "")
  endif()
  set(def ${CMAKE_BINARY_DIR}/delay-imports/${name}.def)
  set(library ${CMAKE_BINARY_DIR}/delay-imports/lib${name}_delay.a)
  add_custom_command(OUTPUT ${library}
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DIMPORT_LIBRARY=${import_library}
      -DDLL=${upper}.dll -DOUTPUT=${def} -DDECORATED=${decorated}
      -P ${CMAKE_SOURCE_DIR}/cmake/DelayImportDef.cmake
    COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def ${def} --dllname ${upper}.dll
      --output-delaylib ${library}
    DEPENDS ${import_library} ${CMAKE_SOURCE_DIR}/cmake/DelayImportDef.cmake
    COMMENT "Delay-load library for ${upper}.dll")
  add_custom_target(delay_import_${name} DEPENDS ${library})
  set(${variable} ${library} PARENT_SCOPE)
endfunction()
