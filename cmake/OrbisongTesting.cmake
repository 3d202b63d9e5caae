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
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
