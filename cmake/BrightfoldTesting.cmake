# brightfold_add_test(NAME <name> SOURCES <files…> LIBRARIES <targets…> [LABELS <labels…>])
# One GoogleTest executable registered with CTest; each test case is its own CTest entry.
include(GoogleTest)

function(brightfold_add_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBRARIES;LABELS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${ARG_NAME} PRIVATE
    BRIGHTFOLD_SHARED_DIR="${BRIGHTFOLD_SHARED_DIR}"
    BRIGHTFOLD_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # Escaped so that several labels survive the discovery script as one list.
  string(REPLACE ";" "\\;" labels "${ARG_LABELS}")
  gtest_discover_tests(${ARG_NAME}
    PROPERTIES LABELS "${labels}"
    DISCOVERY_TIMEOUT 60)
endfunction()
