# The programs the tests drive, each with the Debian package that brings it.
# A missing one stops the configuration and says what to install (with
# scripts/install-deps.sh QUENDRIL_TEST_DEPENDENCIES: test, or windows-test for
# a Windows build's tests). Further arguments are passed to find_program
# (PATHS for programs off the PATH).
if(NOT QUENDRIL_TEST_DEPENDENCIES)
  set(QUENDRIL_TEST_DEPENDENCIES test)
endif()
function(quendril_require_test_tool variable program package)
  find_program(${variable} ${program} ${ARGN})
  if(NOT ${variable})
    message(FATAL_ERROR
      "The tests need `${program}` (Debian package ${package}). Install it, "
      "run scripts/install-deps.sh ${QUENDRIL_TEST_DEPENDENCIES}, or configure with -DBUILD_TESTING=OFF to build the program alone.")
  endif()
endfunction()

# A Python module the tests import, from the Python that runs them.
function(quendril_require_python_module python module package)
  execute_process(COMMAND ${python} -c "import ${module}" RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR
      "The tests need the Python module `${module}` for ${python} (Debian package ${package}). Install it, "
      "run scripts/install-deps.sh ${QUENDRIL_TEST_DEPENDENCIES}, or configure with -DBUILD_TESTING=OFF to build the program alone.")
  endif()
endfunction()

# A file the tests need that is no program, such as a plugin Qt loads, with
# the Debian package that brings it. Further arguments are passed to
# find_file (NAMES, PATHS); only the PATHS given are searched.
function(quendril_require_test_file variable what package)
  find_file(${variable} ${ARGN} NO_DEFAULT_PATH)
  if(NOT ${variable})
    message(FATAL_ERROR
      "The tests need ${what} (Debian package ${package}). Install it, "
      "run scripts/install-deps.sh ${QUENDRIL_TEST_DEPENDENCIES}, or configure with -DBUILD_TESTING=OFF to build the program alone.")
  endif()
endfunction()
