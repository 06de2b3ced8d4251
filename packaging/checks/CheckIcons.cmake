# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Checks the committed icon renders: each size of SIZES has a PNG of exactly that size under
# ICON_DIR/hicolor, no other sizes are there, and the renders were made from the current SVG
# (render-icons records the SVG's checksum in ICON_DIR/svg.sha256).
# cmake -DICON_DIR=... -DICON_NAME=... -DSIZES=16;24;... -P CheckIcons.cmake
cmake_minimum_required(VERSION 3.25)

set(errors)

set(svg ${ICON_DIR}/hicolor/scalable/apps/${ICON_NAME}.svg)
file(SHA256 ${svg} svg_sum)
file(READ ${ICON_DIR}/svg.sha256 rendered_sum)
string(STRIP "${rendered_sum}" rendered_sum)
if(NOT svg_sum STREQUAL rendered_sum)
    list(APPEND errors "${svg} changed since the PNGs were rendered: run packaging/render-icons")
endif()

foreach(size IN LISTS SIZES)
    set(png ${ICON_DIR}/hicolor/${size}x${size}/apps/${ICON_NAME}.png)
    if(NOT EXISTS ${png})
        list(APPEND errors "missing ${png}")
        continue()
    endif()
    # Signature (8 bytes), then the IHDR chunk: length (4), type (4), width (4), height (4).
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 24 8 chunk_type)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk_type STREQUAL "49484452")
        list(APPEND errors "${png} is not a PNG file")
        continue()
    endif()
    string(SUBSTRING "${header}" 32 8 width_hex)
    string(SUBSTRING "${header}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        list(APPEND errors "${png} is ${width}x${height}, not ${size}x${size}")
    endif()
endforeach()

file(GLOB theme_dirs RELATIVE ${ICON_DIR}/hicolor LIST_DIRECTORIES true ${ICON_DIR}/hicolor/*)
foreach(dir IN LISTS theme_dirs)
    if(dir STREQUAL "scalable")
        continue()
    elseif(NOT dir MATCHES "^([0-9]+)x([0-9]+)$" OR NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
        list(APPEND errors "unexpected ${ICON_DIR}/hicolor/${dir}")
    elseif(NOT CMAKE_MATCH_1 IN_LIST SIZES)
        list(APPEND errors "${ICON_DIR}/hicolor/${dir} is not among the installed sizes")
    endif()
endforeach()

if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "icon check failed:\n  ${text}")
endif()
list(JOIN SIZES ", " size_text)
message(STATUS "icons: scalable and ${size_text}, rendered from the current SVG")
