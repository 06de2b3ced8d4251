# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Checks that the AppStream metainfo and the Debian changelog both name the project's version
# as their newest release, on the same day.
# cmake -DVERSION=... -DMETAINFO=... -DCHANGELOG=... -P CheckReleaseNotes.cmake
cmake_minimum_required(VERSION 3.25)

set(errors)

file(READ ${METAINFO} metainfo)
set(metainfo_date)
if(NOT metainfo MATCHES "<release version=\"([^\"]*)\" date=\"([0-9-]+)\"")
    list(APPEND errors "${METAINFO} has no release with a version and a date")
elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    list(APPEND errors "newest release of ${METAINFO} is ${CMAKE_MATCH_1}, the project is ${VERSION}")
else()
    set(metainfo_date ${CMAKE_MATCH_2})
endif()

file(STRINGS ${CHANGELOG} first_line LIMIT_COUNT 1)
if(NOT first_line MATCHES "^stallark \\(([^)]*)\\) ")
    list(APPEND errors "${CHANGELOG} does not start with a stallark entry: ${first_line}")
elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    list(APPEND errors "newest entry of ${CHANGELOG} is ${CMAKE_MATCH_1}, the project is ${VERSION}")
endif()

# The trailer line of the newest entry: " -- Name <address>  Mon, 07 Dec 2026 19:36:00 +0000".
file(STRINGS ${CHANGELOG} trailers REGEX "^ -- ")
list(GET trailers 0 trailer)
set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(month_numbers 01 02 03 04 05 06 07 08 09 10 11 12)
set(month -1)
if(trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    list(FIND month_names ${CMAKE_MATCH_2} month)
endif()
if(month EQUAL -1)
    list(APPEND errors "${CHANGELOG}: no date in the trailer line: ${trailer}")
else()
    list(GET month_numbers ${month} month)
    set(changelog_date ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})
    if(metainfo_date AND NOT metainfo_date STREQUAL changelog_date)
        list(APPEND errors
             "release date ${metainfo_date} in ${METAINFO}, ${changelog_date} in ${CHANGELOG}")
    endif()
endif()

if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "release notes check failed:\n  ${text}")
endif()
message(STATUS "release notes: version ${VERSION} of ${metainfo_date} in both")
