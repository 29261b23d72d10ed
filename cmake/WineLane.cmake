# The Wine lane of a Windows build (scripts/wine-env.sh), in build/<preset>/wine:
# the 32-bit programs run under the 32-bit Wine, every process of it under
# qemu, the 64-bit ones under wine64. ctest starts the lane before the first
# test that needs it (the fixture "wine") and ends it after the last; tests that
# use its desktop take the lock "wine_desktop", as they share its focus and its
# foreground window.

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(VOKABIX_WINE_LANE --win32)
else()
    set(VOKABIX_WINE_LANE --win64)
endif()
set(VOKABIX_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(VOKABIX_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run ${VOKABIX_WINE_LANE} --dir ${VOKABIX_WINE_DIR})
set(CMAKE_CROSSCOMPILING_EMULATOR ${VOKABIX_WINE_RUN})

foreach(step start stop)
    add_test(NAME wine_${step}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-env.sh ${VOKABIX_WINE_LANE} --dir ${VOKABIX_WINE_DIR} ${step})
endforeach()
# A new 32-bit prefix takes a minute or two under emulation.
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine LABELS wine TIMEOUT 1200)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine TIMEOUT 120)
