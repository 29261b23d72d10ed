# cmake "-DRUN=emulator|...|program" -DEXPECTED=file -P GtestCases.cmake
#
# Fails unless the test program lists exactly the tests in EXPECTED (one
# Suite.Test a line): those that vokabix_add_gtests read from its sources and
# registered. A test the reading missed would otherwise never run, and one
# that is not compiled in would pass by selecting nothing.

string(REPLACE "|" ";" run "${RUN}")
execute_process(COMMAND ${run} --gtest_list_tests OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${run} --gtest_list_tests failed (${status}):\n${out}")
endif()
string(REPLACE "\n" ";" lines "${out}")
set(listed "")
foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Za-z0-9_/]+)\\.")
        set(suite ${CMAKE_MATCH_1})
    elseif(line MATCHES "^  ([A-Za-z0-9_/]+)")
        list(APPEND listed ${suite}.${CMAKE_MATCH_1})
    endif()
endforeach()
file(STRINGS ${EXPECTED} expected)

set(unregistered ${listed})
set(absent ${expected})
if(expected)
    list(REMOVE_ITEM unregistered ${expected})
endif()
if(listed)
    list(REMOVE_ITEM absent ${listed})
endif()
list(LENGTH listed count)
if(unregistered OR absent OR count EQUAL 0)
    string(REPLACE ";" " " unregistered "${unregistered}")
    string(REPLACE ";" " " absent "${absent}")
    message(FATAL_ERROR "the program has ${count} tests\n"
                        "  in the program, not registered with ctest: ${unregistered}\n"
                        "  registered, not in the program: ${absent}")
endif()
message("all ${count} tests of the program are registered")
