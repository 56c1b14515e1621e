# Read by ctest before it runs anything: one test for each test suite of the test program,
# run as a process of its own. A process for every single test would spend more time
# starting up than most tests take.
# Expects TEST_PROGRAM (the test program's path) and TEST_TIMEOUT (seconds a suite may take).
if(NOT EXISTS "${TEST_PROGRAM}")
    add_test(skyvane_tests_NOT_BUILT "${TEST_PROGRAM}")
    return()
endif()
execute_process(COMMAND "${TEST_PROGRAM}" --gtest_list_tests
    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
    # Listing failed: a test that runs the listing again shows why.
    add_test(skyvane_tests_NOT_LISTED "${TEST_PROGRAM}" --gtest_list_tests)
    return()
endif()
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
    # A suite's line ends in a dot; its tests follow, indented.
    if(line MATCHES "^([^ #]+)\\.( |$)")
        set(suite "${CMAKE_MATCH_1}")
        add_test("${suite}" "${TEST_PROGRAM}" "--gtest_filter=${suite}.*")
        # A skipped test does not make its suite count as skipped: the others in it ran, and
        # ./test lists what was skipped and why.
        set_tests_properties("${suite}" PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT "${TEST_TIMEOUT}")
    endif()
endforeach()
