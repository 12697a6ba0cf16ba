# heron_packages(<target>): builds the Heron test packages into the current binary folder: version
# 1.0 and a rebuild of it (same product, another package code). wixl ignores the source's package
# code, so msibuild sets it afterwards, in upper case (Wine hands it back as given).
function(heron_packages target)
  find_program(SETUP_WIXL wixl REQUIRED)
  find_program(SETUP_MSIBUILD msibuild REQUIRED)
  set(data ${CMAKE_SOURCE_DIR}/tests/data/steps)
  set(product {3C9E7A51-0001-4B2D-9E10-5F6A7B8C9D11})
  set(outputs)
  foreach(build "heron-1.0.msi;{3C9E7A51-1001-4B2D-9E10-5F6A7B8C9DAA}"
                "heron-1.0-rebuilt.msi;{3C9E7A51-1002-4B2D-9E10-5F6A7B8C9DBB}")
    list(GET build 0 file)
    list(GET build 1 package_code)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${file})
    add_custom_command(OUTPUT ${out}
      COMMAND ${SETUP_WIXL} ${SETUP_WIXL_ARCH} -D Version=1.0.0 -D ProductCode=${product} -o ${out} ${data}/heron.wxs
      COMMAND ${SETUP_MSIBUILD} ${out} -s "Heron Sample" "Heron Test Works" "${SETUP_MSI_TEMPLATE}" ${package_code}
      WORKING_DIRECTORY ${data}
      DEPENDS ${data}/heron.wxs ${data}/heron-readme.txt
      VERBATIM)
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} DEPENDS ${outputs})
endfunction()
