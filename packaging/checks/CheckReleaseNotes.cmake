# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Checks that the AppStream metainfo and the Debian changelog both name the project's version
# as their newest release, and that every screenshot of the metainfo is a file of the
# repository's docs/screenshots.
# cmake -DVERSION=... -DMETAINFO=... -DCHANGELOG=... -DSOURCE_DIR=... -P CheckReleaseNotes.cmake
cmake_minimum_required(VERSION 3.25)

set(errors)

file(READ ${METAINFO} metainfo)
if(NOT metainfo MATCHES "<release[^>]* version=\"([^\"]*)\"")
    list(APPEND errors "${METAINFO} has no release")
elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    list(APPEND errors "newest release of ${METAINFO} is ${CMAKE_MATCH_1}, the project is ${VERSION}")
endif()

file(STRINGS ${CHANGELOG} first_line LIMIT_COUNT 1)
if(NOT first_line MATCHES "^stallark \\(([^)]*)\\) ")
    list(APPEND errors "${CHANGELOG} does not start with a stallark entry: ${first_line}")
elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    list(APPEND errors "newest entry of ${CHANGELOG} is ${CMAKE_MATCH_1}, the project is ${VERSION}")
endif()

string(REGEX MATCHALL "<image>[^<]*</image>" images "${metainfo}")
if(NOT images)
    list(APPEND errors "${METAINFO} has no screenshot")
endif()
foreach(image IN LISTS images)
    if(NOT image MATCHES "/(docs/screenshots/[^/<]+)</image>$")
        list(APPEND errors "screenshot ${image} is not under docs/screenshots")
    elseif(NOT EXISTS ${SOURCE_DIR}/${CMAKE_MATCH_1})
        list(APPEND errors "screenshot ${CMAKE_MATCH_1} of ${METAINFO} is not in the repository")
    endif()
endforeach()

if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "release notes check failed:\n  ${text}")
endif()
message(STATUS "release notes: version ${VERSION}, screenshots present")
