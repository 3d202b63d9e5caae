include(GoogleTest)

# orbisong_add_test(NAME sources... LIBS libs... LABELS labels... [WIDGETS])
# One GoogleTest executable per feature. Widget tests run on the offscreen platform.
function(orbisong_add_test name)
    cmake_parse_arguments(T "WIDGETS" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} orbisong_testsupport GTest::gtest GTest::gmock)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set(env "QT_QPA_PLATFORM=offscreen" "ORBISONG_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
            "ORBISONG_BINARY_DIR=${CMAKE_BINARY_DIR}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
    # List-valued properties lose all but their first item on their way through the
    # discovery step, so labels and environment are set by a script that ctest reads after
    # the discovered list (${name}_TESTS).
    set(properties "${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake")
    file(WRITE "${properties}"
         "if(DEFINED ${name}_TESTS)\n"
         "  set_tests_properties(\${${name}_TESTS} PROPERTIES\n"
         "                       LABELS \"${T_LABELS}\" ENVIRONMENT \"${env}\")\n"
         "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${properties}")
endfunction()
