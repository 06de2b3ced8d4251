# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
cmake_minimum_required(VERSION 3.25)

# Checks that the desktop entry shown in the README (its ```ini block) is the installed one.
# cmake -DREADME=... -DDESKTOP_ENTRY=... -P CheckReadmeDesktopEntry.cmake
file(READ ${README} readme)
file(READ ${DESKTOP_ENTRY} entry)
if(NOT readme MATCHES "\n```ini\n([^`]*)```")
    message(FATAL_ERROR "${README} shows no desktop entry in an ```ini block")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL entry)
    message(FATAL_ERROR "the desktop entry in ${README} differs from ${DESKTOP_ENTRY}:\n"
                        "${CMAKE_MATCH_1}\n--- installed:\n${entry}")
endif()
message(STATUS "the README shows the installed desktop entry")
