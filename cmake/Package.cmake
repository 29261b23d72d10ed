# The release archives, for the 32-bit product:
#   cmake --build --preset win32 --target release        Vokabix-1.3-win32.zip
#   cmake --build --preset win32 --target release-de-en  Vokabix-1.3-win32-de-en.zip
# The first holds the sample dictionaries and the hand-typed verb list, the
# second the free ding German-English dictionary and the verb list made
# from it, imported when the archive is made. The program
# looks for its data files in the current directory, so everything lies at
# the top of the archive beside Vokabix.exe: unpacked into one folder, it
# runs as it is.
#
# Included from the top-level CMakeLists.txt after the Vokabix target exists.

if(NOT WIN32)
    return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(VOKABIX_PACKAGE_PLATFORM win32)
else()
    set(VOKABIX_PACKAGE_PLATFORM win64)
endif()
set(VOKABIX_RELEASE_NAME Vokabix-${PROJECT_VERSION}-${VOKABIX_PACKAGE_PLATFORM})
set(VOKABIX_TEXTS ${CMAKE_BINARY_DIR}/release-texts)

# A text file turned into one that Notepad shows right on any Windows.
function(vokabix_windows_text output input)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DIN=${input} -DOUT=${output} -P ${CMAKE_SOURCE_DIR}/cmake/WindowsText.cmake
        DEPENDS ${input} ${CMAKE_SOURCE_DIR}/cmake/WindowsText.cmake
        VERBATIM)
endfunction()

vokabix_windows_text(${VOKABIX_TEXTS}/README.txt ${CMAKE_SOURCE_DIR}/docs/guide.txt)
vokabix_windows_text(${VOKABIX_TEXTS}/LICENSE.txt ${CMAKE_SOURCE_DIR}/LICENSE)

# Puts the files at the top of a zip. The two programs are stripped: their
# symbols are of no use on the user's machine.
function(vokabix_zip target zip)
    set(folder ${CMAKE_BINARY_DIR}/${target}-files)
    set(names Vokabix.exe vokabix-import.exe)
    foreach(file IN LISTS ARGN)
        get_filename_component(name ${file} NAME)
        list(APPEND names ${name})
    endforeach()
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${zip}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder} ${CMAKE_BINARY_DIR}/${zip}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Vokabix> $<TARGET_FILE:vokabix-import> ${ARGN} ${folder}
        COMMAND ${CMAKE_STRIP} ${folder}/Vokabix.exe ${folder}/vokabix-import.exe
        COMMAND ${CMAKE_COMMAND} -E chdir ${folder}
                ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${zip} --format=zip -- ${names}
        DEPENDS Vokabix vokabix-import ${ARGN}
        VERBATIM)
    add_custom_target(${target} DEPENDS ${CMAKE_BINARY_DIR}/${zip})
endfunction()

vokabix_zip(release ${VOKABIX_RELEASE_NAME}.zip
    ${VOKABIX_TEXTS}/README.txt
    ${VOKABIX_TEXTS}/LICENSE.txt
    ${CMAKE_SOURCE_DIR}/samples/GerEng.dat
    ${CMAKE_SOURCE_DIR}/samples/EngGer.dat
    ${CMAKE_SOURCE_DIR}/samples/strongs.dat)

# --- The release with the ding dictionary -------------------------------------
# Imported at build time from Debian's trans-de-en by the host build of the
# importer (the same sources as the vokabix-import.exe beside it), never
# committed.
set(VOKABIX_DING_LIST /usr/share/trans/de-en CACHE FILEPATH "The ding German-English word list to ship")
set(VOKABIX_DING_COPYRIGHT /usr/share/doc/trans-de-en/copyright)
# Spell checkers' word lists (Debian's wngerman and wamerican) that confirm
# the regular forms ding leaves out. They go into the zip beside de-en.txt,
# so that the import a user repeats there gives the same dictionary.
set(VOKABIX_GERMAN_WORDS /usr/share/dict/ngerman CACHE FILEPATH "A German spell checker's word list")
set(VOKABIX_ENGLISH_WORDS /usr/share/dict/american-english CACHE FILEPATH "An English spell checker's word list")
set(VOKABIX_DING_OUT ${CMAKE_BINARY_DIR}/ding)
# The host build of the tools, in the native preset's tree: the importer, and
# the command-line search that the package tests look words up with.
set(VOKABIX_HOST_TOOLS ${CMAKE_SOURCE_DIR}/build/native/vokabix-import ${CMAKE_SOURCE_DIR}/build/native/vokabix-cli)
file(GLOB VOKABIX_HOST_TOOL_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/tools/import/*.cpp ${CMAKE_SOURCE_DIR}/tools/import/*.h
     ${CMAKE_SOURCE_DIR}/tools/cli/*.cpp ${CMAKE_SOURCE_DIR}/tools/common/*.cpp ${CMAKE_SOURCE_DIR}/tools/common/*.h
     ${CMAKE_SOURCE_DIR}/src/shared/*.cpp ${CMAKE_SOURCE_DIR}/src/shared/*.h
     ${CMAKE_SOURCE_DIR}/src/mapping/*.cpp ${CMAKE_SOURCE_DIR}/src/mapping/*.h
     ${CMAKE_SOURCE_DIR}/src/data/*.cpp ${CMAKE_SOURCE_DIR}/src/data/*.h)
add_custom_command(OUTPUT ${VOKABIX_HOST_TOOLS}
    COMMAND ${CMAKE_COMMAND} --preset native
    COMMAND ${CMAKE_COMMAND} --build --preset native --target vokabix-import vokabix-cli
    DEPENDS ${VOKABIX_HOST_TOOL_SOURCES}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Building the host tools"
    VERBATIM)
add_custom_target(host-tools DEPENDS ${VOKABIX_HOST_TOOLS})
add_custom_command(OUTPUT ${VOKABIX_DING_OUT}/GerEng.dat ${VOKABIX_DING_OUT}/EngGer.dat ${VOKABIX_DING_OUT}/strongs.dat
    COMMAND ${CMAKE_SOURCE_DIR}/build/native/vokabix-import --german-words ${VOKABIX_TEXTS}/german-words.txt
            --english-words ${VOKABIX_TEXTS}/english-words.txt ${VOKABIX_DING_LIST} ${VOKABIX_DING_OUT}
    DEPENDS ${VOKABIX_DING_LIST} ${VOKABIX_HOST_TOOLS} ${VOKABIX_TEXTS}/german-words.txt
            ${VOKABIX_TEXTS}/english-words.txt
    COMMENT "Importing the ding dictionary"
    VERBATIM)
add_custom_command(OUTPUT ${VOKABIX_TEXTS}/german-words.txt ${VOKABIX_TEXTS}/english-words.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${VOKABIX_GERMAN_WORDS} ${VOKABIX_TEXTS}/german-words.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${VOKABIX_ENGLISH_WORDS} ${VOKABIX_TEXTS}/english-words.txt
    DEPENDS ${VOKABIX_GERMAN_WORDS} ${VOKABIX_ENGLISH_WORDS}
    VERBATIM)
add_custom_command(OUTPUT ${VOKABIX_TEXTS}/DING.utf8
    COMMAND ${CMAKE_COMMAND} -DDING=${VOKABIX_DING_LIST} -DCOPYRIGHT=${VOKABIX_DING_COPYRIGHT}
            -DGERMAN_WORDS_COPYRIGHT=/usr/share/doc/wngerman/copyright
            -DENGLISH_WORDS_COPYRIGHT=/usr/share/doc/wamerican/copyright
            -DOUT=${VOKABIX_TEXTS}/DING.utf8 -P ${CMAKE_SOURCE_DIR}/cmake/DingNotice.cmake
    DEPENDS ${VOKABIX_DING_LIST} ${VOKABIX_DING_COPYRIGHT} ${CMAKE_SOURCE_DIR}/cmake/DingNotice.cmake
            /usr/share/doc/wngerman/copyright /usr/share/doc/wamerican/copyright
    VERBATIM)
vokabix_windows_text(${VOKABIX_TEXTS}/DING.txt ${VOKABIX_TEXTS}/DING.utf8)
vokabix_windows_text(${VOKABIX_TEXTS}/GPL-2.txt /usr/share/common-licenses/GPL-2)
add_custom_command(OUTPUT ${VOKABIX_TEXTS}/de-en.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${VOKABIX_DING_LIST} ${VOKABIX_TEXTS}/de-en.txt
    DEPENDS ${VOKABIX_DING_LIST}
    VERBATIM)

vokabix_zip(release-de-en ${VOKABIX_RELEASE_NAME}-de-en.zip
    ${VOKABIX_TEXTS}/README.txt
    ${VOKABIX_TEXTS}/LICENSE.txt
    ${VOKABIX_DING_OUT}/GerEng.dat
    ${VOKABIX_DING_OUT}/EngGer.dat
    ${VOKABIX_DING_OUT}/strongs.dat
    ${VOKABIX_TEXTS}/DING.txt
    ${VOKABIX_TEXTS}/GPL-2.txt
    ${VOKABIX_TEXTS}/de-en.txt
    ${VOKABIX_TEXTS}/german-words.txt
    ${VOKABIX_TEXTS}/english-words.txt)

# Each zip as a user gets it. The zips are made by scripts/release, and by
# the fixture "package" before these tests, not by every build.
if(VOKABIX_PACKAGE_PLATFORM STREQUAL win32)
    add_test(NAME package_build
             COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target release release-de-en host-tools)
    set_tests_properties(package_build PROPERTIES FIXTURES_SETUP package LABELS package TIMEOUT 1800)
    foreach(kind samples de-en)
        set(zip ${CMAKE_BINARY_DIR}/${VOKABIX_RELEASE_NAME}.zip)
        if(kind STREQUAL de-en)
            set(zip ${CMAKE_BINARY_DIR}/${VOKABIX_RELEASE_NAME}-de-en.zip)
        endif()
        add_test(NAME package_zip_${kind}
                 COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/package/check_zip.py ${zip} ${kind}
                         ${VOKABIX_MINGW_TRIPLE}-objdump ${CMAKE_SOURCE_DIR}/build/native/vokabix-cli
                         $<TARGET_FILE:vokabix_e2e_tests> ${VOKABIX_WINE_RUN})
        set_tests_properties(package_zip_${kind} PROPERTIES LABELS package TIMEOUT 900
                             FIXTURES_REQUIRED "wine;package" RESOURCE_LOCK wine_desktop)
    endforeach()
endif()
