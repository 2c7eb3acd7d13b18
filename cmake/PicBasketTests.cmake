# picbasket_test_executable(<name> LIBS <libs...>)
# Creates one GoogleTest executable; component folders add sources to it with
# target_sources. Every test is registered with CTest. The suites whose names end
# in "Corrupt" (decoders and parsers fed damaged input) are registered a second
# time under the label "sanitize", which the sanitizer build runs.
function(picbasket_test_executable name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${PROJECT_SOURCE_DIR}/tests/common/test_main.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} testsupport GTest::gtest Qt6::Test)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PICBASKET_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
               TIMEOUT 300)
  add_test(NAME ${name}.sanitize COMMAND ${name} --gtest_filter=*Corrupt*.*)
  set_tests_properties(${name}.sanitize PROPERTIES LABELS sanitize
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PICBASKET_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
