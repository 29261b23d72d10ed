# cmake -DDING=word-list -DCOPYRIGHT=file -DGERMAN_WORDS_COPYRIGHT=file
#       -DENGLISH_WORDS_COPYRIGHT=file -DOUT=file -P DingNotice.cmake
# Where the shipped dictionary comes from, which version it is and under
# which licence, as the GPL asks of whoever passes it on.
file(STRINGS "${DING}" head LIMIT_COUNT 8)
set(version "unknown")
foreach(line IN LISTS head)
    if(line MATCHES "^# Version :: (.*)$")
        set(version "${CMAKE_MATCH_1}")
    endif()
endforeach()
execute_process(COMMAND dpkg-query -W -f=\${Version} trans-de-en OUTPUT_VARIABLE package ERROR_QUIET)
if(package STREQUAL "")
    set(package "unknown")
endif()
file(READ "${COPYRIGHT}" copyright)
file(READ "${GERMAN_WORDS_COPYRIGHT}" german_copyright)
file(READ "${ENGLISH_WORDS_COPYRIGHT}" english_copyright)
foreach(list wngerman wamerican)
    execute_process(COMMAND dpkg-query -W -f=\${Version} ${list} OUTPUT_VARIABLE ${list}_version ERROR_QUIET)
    if(${list}_version STREQUAL "")
        set(${list}_version "unknown")
    endif()
endforeach()
file(WRITE "${OUT}" "The German-English dictionary in this archive
=============================================

GerEng.dat and EngGer.dat were made by vokabix-import from de-en.txt, the
German-English word list of the ding project, version ${version}, as
packaged by Debian (trans-de-en ${package}). de-en.txt in this archive is
that word list, unchanged.

The word list is Copyright (c) Frank Richter and others and is free
software: you can redistribute it and/or modify it under the terms of the
GNU General Public License as published by the Free Software Foundation,
either version 2 of the License, or (at your option) any later version.
It is distributed WITHOUT ANY WARRANTY. The licence is in GPL-2.txt.
GerEng.dat and EngGer.dat, made from it, are under the same licence.

The regular forms that ding leaves out ("erzählte", "closer", "größte")
were added where a spell checker's word list holds them:
german-words.txt is Debian's wngerman ${wngerman_version} (igerman98 by Björn
Jacke, GPL version 2 or later), english-words.txt is Debian's wamerican
${wamerican_version} (SCOWL by Kevin Atkinson, under the permissive
notice below). Both are in this archive unchanged, so that the import can
be made again here:

  vokabix-import --german-words german-words.txt --english-words english-words.txt de-en.txt .

Vokabix itself is under the MIT licence (LICENSE.txt).

The copyright notice that comes with the word list:

${copyright}

The copyright notice that comes with german-words.txt (wngerman):

${german_copyright}

The copyright notice that comes with english-words.txt (wamerican):

${english_copyright}")
