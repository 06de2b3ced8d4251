# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Writes the guide as Windows users get it, guide-ja.txt: the template's items for a program
# that comes as a zip or an installer (name, version, system, files, installing and removing,
# history, faults, licence, contact) around the Markdown guide, which stays the one text of how
# to use Stallark, made plain text for Notepad: no heading, table or emphasis marks. UTF-8 with
# a byte-order mark and CRLF line ends, which every Notepad reads right.
#   cmake -DMARKDOWN=... -DTEMPLATE=... -DOUTPUT=... -DVERSION=... -DCONTACT=...
#         -P GuideText.cmake
cmake_minimum_required(VERSION 3.25)

file(READ ${MARKDOWN} markdown)
# The Markdown guide: its title line, its opening paragraphs (the summary) and, from its table
# of contents on, how to use it.
string(FIND "${markdown}" "\n## " at)
if(NOT markdown MATCHES "^# [^\n]*\n\n" OR at EQUAL -1)
    message(FATAL_ERROR "${MARKDOWN} does not start with a title, paragraphs and sections")
endif()
string(LENGTH "${CMAKE_MATCH_0}" title_length)
math(EXPR summary_length "${at} - ${title_length}")
string(SUBSTRING "${markdown}" ${title_length} ${summary_length} summary)
math(EXPR at "${at} + 1")
string(SUBSTRING "${markdown}" ${at} -1 usage)
string(STRIP "${summary}" summary)
string(STRIP "${usage}" usage)

# Sections as ■ and subsections as ◆ lines; a table's header and rule go, and each row becomes
# "・first cell: second cell"; list items get ・; the emphasis and code marks go.
string(REGEX REPLACE "(^|\n)## " "\\1■ " usage "${usage}")
string(REGEX REPLACE "(^|\n)### " "\\1◆ " usage "${usage}")
string(REGEX REPLACE "\n\\|[^\n]*\\|\n\\|[-| ]+\\|\n" "\n" usage "${usage}")
string(REGEX REPLACE "\n\\| ([^|\n]*) \\| ([^|\n]*) \\|" "\n・\\1: \\2" usage "${usage}")
string(REGEX REPLACE "\n- " "\n・" usage "${usage}")
foreach(text summary usage)
    string(REPLACE "**" "" ${text} "${${text}}")
    string(REPLACE "`" "" ${text} "${${text}}")
endforeach()
if(usage MATCHES "(^|\n)(#|\\|)")
    message(FATAL_ERROR "${MARKDOWN} has Markdown that the guide's text cannot show: "
                        "${CMAKE_MATCH_0}")
endif()

set(STALLARK_VERSION ${VERSION})
set(STALLARK_SUMMARY "${summary}")
set(STALLARK_USAGE "${usage}")
set(STALLARK_CONTACT "${CONTACT}")
file(READ ${TEMPLATE} text)
string(CONFIGURE "${text}" text @ONLY)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE ${OUTPUT} "${byte_order_mark}${text}")
