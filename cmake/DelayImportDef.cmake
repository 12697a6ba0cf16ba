# Writes a module-definition file listing every function an import library names, for dlltool to
# make a delay-load library of. Run with -DNM=... -DIMPORT_LIBRARY=... -DDLL=... -DOUTPUT=...
# -DDECORATED=ON|OFF (32-bit x86 names carry a leading underscore).
execute_process(COMMAND ${NM} -g --defined-only ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${IMPORT_LIBRARY}")
endif()
if(DECORATED)
  set(prefix "__imp__")
else()
  set(prefix "__imp_")
endif()
string(REGEX MATCHALL " I ${prefix}[^\n]+" entries "${symbols}")
set(names "")
foreach(entry ${entries})
  string(REPLACE " I ${prefix}" "" name "${entry}")
  list(APPEND names "${name}")
endforeach()
list(REMOVE_DUPLICATES names)
list(SORT names)
list(JOIN names "\n" body)
file(WRITE ${OUTPUT} "LIBRARY ${DLL}\nEXPORTS\n${body}\n")
