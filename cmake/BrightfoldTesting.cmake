# brightfold_add_test(NAME <name> SOURCES <files…> LIBRARIES <targets…> [LABELS <labels…>]
#                     [RUNNER <program> RESOURCE_LOCK <lock>])
# One GoogleTest executable registered with CTest; each test case is its own CTest entry. With a
# RUNNER, the cases are listed and run through that program (a virtual display, for example),
# never two at once under the same RESOURCE_LOCK. Each test process has a temporary folder of
# its own (TMPDIR), removed when it ends.
#
# Two labels say which sanitizer runs the whole program in a tree of its own (scripts/test):
# `asan` for code that reads files or converts them (address and undefined-behaviour
# sanitizers), `tsan` for code that shares data between threads (thread sanitizer). Only the
# fast programs carry them; the cross-checks against the independent readers never do.
include(GoogleTest)

set(BRIGHTFOLD_SANITIZER_LABELS asan tsan)

function(brightfold_add_test)
  cmake_parse_arguments(ARG "" "NAME;RUNNER;RESOURCE_LOCK" "SOURCES;LIBRARIES;LABELS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBRARIES} BrightfoldTestSupport
    GTest::gtest GTest::gmock GTest::gtest_main)
  set(case_properties "")
  if(ARG_RUNNER)
    # Read when the discovery is set up, so it must be in place before.
    set_target_properties(${ARG_NAME} PROPERTIES CROSSCOMPILING_EMULATOR "${ARG_RUNNER}")
    set(case_properties PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
  endif()
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60 ${case_properties})
  if(ARG_LABELS)
    brightfold_label_discovered_tests(${ARG_NAME} "${ARG_LABELS}")
  endif()
  foreach(sanitizer ${BRIGHTFOLD_SANITIZER_LABELS})
    if(sanitizer IN_LIST ARG_LABELS)
      set_property(GLOBAL APPEND PROPERTY BRIGHTFOLD_${sanitizer}_PROGRAMS ${ARG_NAME})
    endif()
  endforeach()
endfunction()

# Once every module is configured: for each sanitizer label, a target `<label>-programs` that
# builds the programs carrying it, and `<label>-programs.txt` in the build tree listing their
# paths, one a line, for scripts/test to run.
function(brightfold_add_sanitizer_targets)
  foreach(sanitizer ${BRIGHTFOLD_SANITIZER_LABELS})
    get_property(programs GLOBAL PROPERTY BRIGHTFOLD_${sanitizer}_PROGRAMS)
    if(NOT programs)
      continue()
    endif()
    add_custom_target(${sanitizer}-programs DEPENDS ${programs})
    list(TRANSFORM programs REPLACE "^(.+)$" "$<TARGET_FILE:\\1>")
    list(JOIN programs "\n" paths)
    file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/${sanitizer}-programs.txt" CONTENT "${paths}\n")
  endforeach()
endfunction()

# Labels the test cases discovered from <target> after CTest has read them. Passed through
# gtest_discover_tests' PROPERTIES, a list of labels is flattened on its way into the discovery
# script and only the first one survives, so they are set by a script of our own that runs
# after the discovered cases are known (their names are in <target>_TESTS).
function(brightfold_label_discovered_tests target labels)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake")
  file(WRITE "${script}"
    "if(${target}_TESTS)\n"
    "  set_tests_properties(\${${target}_TESTS} PROPERTIES LABELS \"${labels}\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
