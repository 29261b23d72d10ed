# cmake -DDING=word-list -DCOPYRIGHT=file -DOUT=file -P DingNotice.cmake
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

Vokabix itself is under the MIT licence (LICENSE.txt).

The copyright notice that comes with the word list:

${copyright}")
