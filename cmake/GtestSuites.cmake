# vokabix_add_gtests(TARGET LABEL label [TIMEOUT seconds])
#
# Registers the googletest tests of TARGET with ctest, serially (they share
# the Wine desktop, its focus and its foreground window).
#
# Where a process start is cheap, gtest_discover_tests asks the executable for
# its tests and runs each in a process of its own. Under the 32-bit Wine lane a
# start costs seconds of emulation, so there (VOKABIX_TESTS_PER_SUITE) a test
# suite is one ctest test, run as --gtest_filter=Suite.*; the suites are read
# from the sources, which costs no start at all. A failure still names the
# failing test in googletest's own summary. TIMEOUT is per googletest test (a
# suite gets it once for each of its tests); without it ctest's default holds.

# The i686 build is the one that runs under emulation.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(per_suite_default ON)
else()
    set(per_suite_default OFF)
endif()
option(VOKABIX_TESTS_PER_SUITE "One ctest test per googletest suite, read from the sources" ${per_suite_default})

function(vokabix_add_gtests target)
    cmake_parse_arguments(arg "" "LABEL;TIMEOUT" "" ${ARGN})
    set(properties LABELS ${arg_LABEL} RUN_SERIAL TRUE)
    if(NOT VOKABIX_TESTS_PER_SUITE)
        if(arg_TIMEOUT)
            list(APPEND properties TIMEOUT ${arg_TIMEOUT})
        endif()
        gtest_discover_tests(${target} PROPERTIES ${properties} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
        return()
    endif()

    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    set(suites "")
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
            if(NOT line MATCHES "^TEST(_F)?\\(([A-Za-z0-9_]+),")
                # Parameterised and typed suites are named at instantiation;
                # reading them from the sources would be guesswork.
                message(FATAL_ERROR "${source}: '${line}' is not a plain TEST or TEST_F; "
                                    "register its suite in cmake/GtestSuites.cmake")
            endif()
            set(suite ${CMAKE_MATCH_2})
            if(NOT suite IN_LIST suites)
                list(APPEND suites ${suite})
                set(count_${suite} 0)
            endif()
            math(EXPR count_${suite} "${count_${suite}} + 1")
        endforeach()
    endforeach()
    if(NOT suites)
        message(FATAL_ERROR "${target}: no TEST or TEST_F found in its sources")
    endif()

    foreach(suite IN LISTS suites)
        add_test(NAME ${suite}.* COMMAND ${target} --gtest_filter=${suite}.*)
        if(arg_TIMEOUT)
            math(EXPR timeout "${arg_TIMEOUT} * ${count_${suite}}")
            set_tests_properties(${suite}.* PROPERTIES TIMEOUT ${timeout})
        endif()
        # A suite that was misread (renamed, or only in a comment) selects no
        # test, which googletest counts as a success.
        set_tests_properties(${suite}.* PROPERTIES ${properties}
                             FAIL_REGULAR_EXPRESSION "Running 0 tests from 0 test suites")
    endforeach()
endfunction()
