# One CTest test per GoogleTest suite (`Suite.*`) rather than per test. A sanitised suite binary
# takes about a second to start, longer than most of its tests take to run, so starting it once per
# test spent more of `make test` on start-ups than on testing. The suites are listed when CTest
# runs, as gtest_discover_tests does, so a new test needs no CMake change.
set(KELVO_GTEST_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/GTestSuitesList.cmake)

# kelvo_add_gtest_suites(<target> [COST <n>] [ENVIRONMENT <var=value>...])
# A suite's COST is n plus its number of tests, so that CTest starts the larger suites first.
function(kelvo_add_gtest_suites target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "COST" "ENVIRONMENT")
    if(NOT arg_COST)
        set(arg_COST 0)
    endif()
    set(listed ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites_tests.cmake)
    set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites_include.cmake)
    file(GENERATE OUTPUT ${include_file} CONTENT
"set(suites_executable \"$<TARGET_FILE:${target}>\")
set(suites_listed \"${listed}\")
set(suites_prefix \"${target}\")
set(suites_cost ${arg_COST})
set(suites_directory \"${CMAKE_CURRENT_BINARY_DIR}\")
set(suites_environment \"${arg_ENVIRONMENT}\")
include(\"${KELVO_GTEST_SUITES_SCRIPT}\")
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
