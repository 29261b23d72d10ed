# The release archive: `cmake --build --preset win32 --target package` makes
# Vokabix-<version>-win32.zip in the build folder. The program looks for its
# data files in the current directory, so they lie at the top of the archive
# beside Vokabix.exe: unpacked into one folder, it runs as it is.
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

# Only what this component holds goes into the archive, whatever install
# rules other folders of the build may bring along.
set(VOKABIX_PACKAGE_COMPONENT Vokabix)

install(TARGETS Vokabix
        RUNTIME DESTINATION .
        COMPONENT ${VOKABIX_PACKAGE_COMPONENT})
install(FILES
            ${CMAKE_SOURCE_DIR}/samples/GerEng.dat
            ${CMAKE_SOURCE_DIR}/samples/EngGer.dat
            ${CMAKE_SOURCE_DIR}/samples/strongs.dat
            ${CMAKE_SOURCE_DIR}/README.md
            ${CMAKE_SOURCE_DIR}/LICENSE
        DESTINATION .
        COMPONENT ${VOKABIX_PACKAGE_COMPONENT})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vokabix)
set(CPACK_PACKAGE_VENDOR "the Vokabix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "An offline German/English dictionary for Windows")
set(CPACK_PACKAGE_FILE_NAME Vokabix-${PROJECT_VERSION}-${VOKABIX_PACKAGE_PLATFORM})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/README.md)
# One archive of the one component, not an archive per component.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};${VOKABIX_PACKAGE_COMPONENT};/")
# The symbols of a release build are of no use on the user's machine.
if(CMAKE_STRIP)
    set(CPACK_STRIP_FILES ON)
endif()

include(CPack)
