# Read by cpack when it makes the package: adds what the programs load at run time to the
# Depends: that dpkg-shlibdeps computes, worked out from the sources as they are now.
if(CPACK_GENERATOR STREQUAL "DEB")
  execute_process(
    COMMAND "${CPACK_BRIGHTFOLD_SOURCE_DIR}/packaging/runtime-packages"
            "${CPACK_BRIGHTFOLD_SOURCE_DIR}"
    OUTPUT_VARIABLE runtime_packages
    OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR runtime_packages STREQUAL "")
    message(FATAL_ERROR "The packages Brightfold loads at run time could not be worked out.")
  endif()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${runtime_packages}")
endif()
