# Runs inside CTest: lists the suites of one test binary (again only when the binary is newer than
# the last listing, or this script) and adds a test per suite.
if(NOT EXISTS "${suites_executable}")
    add_test("${suites_prefix}_NOT_BUILT" "${suites_prefix}_NOT_BUILT")
    return()
endif()

macro(kelvo_add_listed_test name filter cost)
    string(APPEND script
        "add_test(\"${name}\" \"${suites_executable}\" \"--gtest_filter=${filter}\")\n"
        "set_tests_properties(\"${name}\" PROPERTIES WORKING_DIRECTORY \"${suites_directory}\" "
        "COST ${cost} ENVIRONMENT \"${suites_environment}\")\n")
endmacro()

# A suite of process tests starts real programs and waits on them: its tests are long, so each
# gets a test of its own and runs beside the others, started as early as the end-to-end ones.
macro(kelvo_add_listed_suite)
    if(suite MATCHES "ProcessTest$")
        foreach(test IN LISTS tests)
            kelvo_add_listed_test("${suite}.${test}" "${suite}.${test}" 20)
        endforeach()
    else()
        list(LENGTH tests count)
        math(EXPR cost "${suites_cost} + ${count}")
        kelvo_add_listed_test("${suite}" "${suite}.*" ${cost})
    endif()
endmacro()

if(NOT EXISTS "${suites_listed}" OR "${suites_executable}" IS_NEWER_THAN "${suites_listed}"
   OR "${CMAKE_CURRENT_LIST_FILE}" IS_NEWER_THAN "${suites_listed}")
    execute_process(COMMAND "${suites_executable}" --gtest_list_tests
                    WORKING_DIRECTORY "${suites_directory}"
                    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${suites_executable} --gtest_list_tests ended with ${status}")
    endif()
    # A suite's line starts in the first column and ends with its dot; its tests follow indented.
    # Parameterised suites carry a comment after the name.
    string(REPLACE ";" "\\;" listing "${listing}")
    string(REPLACE "\n" ";" lines "${listing}")
    set(script "")
    set(suite "")
    set(tests "")
    # The empty item at the end closes the last suite.
    foreach(line IN LISTS lines ITEMS "")
        if(line MATCHES "^  ([^ ]+)")
            list(APPEND tests "${CMAKE_MATCH_1}")
            continue()
        endif()
        if(suite)
            kelvo_add_listed_suite()
        endif()
        set(suite "")
        set(tests "")
        if(line MATCHES "^([^ #][^ ]*)\\.")
            set(suite "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    file(WRITE "${suites_listed}" "${script}")
endif()
include("${suites_listed}")
