# vokabix_add_gtests(TARGET LABEL label [TIMEOUT seconds])
#
# Registers the googletest tests of TARGET, a Windows test program, with
# ctest. They run in the build's Wine lane, one at a time (they share the Wine
# desktop, its focus and its foreground window).
#
# The tests are read from the sources (TEST and TEST_F at the start of a
# line), which costs no start of the program. Where a start is cheap (wine64)
# each test is a ctest test of its own. Under the 32-bit lane a start costs
# seconds of emulation, so there (VOKABIX_TESTS_PER_SUITE) a suite is one ctest
# test, run as --gtest_filter=Suite.*; a failure still names the failing test
# in googletest's own summary. TARGET.cases compares what was read with the
# program's own list, so that no test goes unrun in either lane. TIMEOUT is per
# googletest test; without it ctest's default holds.

# The i686 build is the one that runs under emulation.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(per_suite_default ON)
else()
    set(per_suite_default OFF)
endif()
option(VOKABIX_TESTS_PER_SUITE "One ctest test per googletest suite rather than per test" ${per_suite_default})

function(vokabix_add_gtests target)
    cmake_parse_arguments(arg "" "LABEL;TIMEOUT" "" ${ARGN})
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    set(suites "")
    set(cases "")
    foreach(source IN LISTS sources)
        if(NOT source MATCHES "\\.cpp$")
            continue()
        endif()
        if(NOT IS_ABSOLUTE ${source})
            set(source ${source_dir}/${source})
        endif()
        file(STRINGS ${source} lines REGEX "^(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)\\(")
        if(lines)
            # A test added to this file takes effect at the next build, which
            # configures again. (Only files with tests: a file named twice
            # here breaks the Ninja build.)
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
        endif()
        foreach(line IN LISTS lines)
            if(NOT line MATCHES "^TEST(_F)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\)")
                # Parameterised and typed suites are named at instantiation;
                # reading them from the sources would be guesswork.
                message(FATAL_ERROR "${source}: '${line}' is not a plain TEST or TEST_F on one line; "
                                    "register it in cmake/GtestSuites.cmake")
            endif()
            set(suite ${CMAKE_MATCH_2})
            list(APPEND cases ${suite}.${CMAKE_MATCH_3})
            if(NOT suite IN_LIST suites)
                list(APPEND suites ${suite})
                set(count_${suite} 0)
            endif()
            math(EXPR count_${suite} "${count_${suite}} + 1")
        endforeach()
    endforeach()
    if(NOT cases)
        message(FATAL_ERROR "${target}: no TEST or TEST_F found in its sources")
    endif()

    set(properties LABELS ${arg_LABEL} FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop)
    if(VOKABIX_TESTS_PER_SUITE)
        foreach(suite IN LISTS suites)
            add_test(NAME ${suite}.* COMMAND ${target} --gtest_filter=${suite}.*)
            set_tests_properties(${suite}.* PROPERTIES ${properties})
            if(arg_TIMEOUT)
                math(EXPR timeout "${arg_TIMEOUT} * ${count_${suite}}")
                set_tests_properties(${suite}.* PROPERTIES TIMEOUT ${timeout})
            endif()
        endforeach()
    else()
        foreach(case IN LISTS cases)
            add_test(NAME ${case} COMMAND ${target} --gtest_filter=${case})
            set_tests_properties(${case} PROPERTIES ${properties})
            if(arg_TIMEOUT)
                set_tests_properties(${case} PROPERTIES TIMEOUT ${arg_TIMEOUT})
            endif()
        endforeach()
    endif()

    string(REPLACE ";" "\n" listing "${cases}")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}.cases "${listing}\n")
    string(REPLACE ";" "|" run "${CMAKE_CROSSCOMPILING_EMULATOR}")
    add_test(NAME ${target}.cases
             COMMAND ${CMAKE_COMMAND} "-DRUN=${run}|$<TARGET_FILE:${target}>"
                     -DEXPECTED=${CMAKE_CURRENT_BINARY_DIR}/${target}.cases
                     -P ${CMAKE_SOURCE_DIR}/cmake/GtestCases.cmake)
    set_tests_properties(${target}.cases PROPERTIES LABELS ${arg_LABEL} FIXTURES_REQUIRED wine)
endfunction()
