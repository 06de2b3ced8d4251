# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# What runs beside the programs, copied into runtime/ of the build folder: Qt's DLLs and
# plugins and the compiler's runtime (stripped), Qt's Japanese texts, qt.conf, the licences, the
# user's guide and the demo file. The tests run the programs with this folder on Wine's search
# path, and the packages install it as it is.

set(runtime ${CMAKE_BINARY_DIR}/runtime)
set(runtime_files)

# Copies SOURCE to runtime/FOLDER, under its own name or NAME; STRIP strips it on the way.
function(stallark_runtime_file source folder)
    cmake_parse_arguments(PARSE_ARGV 2 arg STRIP NAME "")
    if(NOT arg_NAME)
        get_filename_component(arg_NAME ${source} NAME)
    endif()
    set(copy ${runtime}/${folder}/${arg_NAME})
    if(arg_STRIP)
        set(command ${CMAKE_STRIP} --strip-unneeded -o ${copy} ${source})
    else()
        set(command ${CMAKE_COMMAND} -E copy ${source} ${copy})
    endif()
    add_custom_command(OUTPUT ${copy}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${runtime}/${folder}
        COMMAND ${command}
        DEPENDS ${source}
        VERBATIM)
    set(runtime_files ${runtime_files} ${copy} PARENT_SCOPE)
endfunction()

find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
get_filename_component(qt_prefix ${qt_bin} DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(compiler_runtime ${libstdcxx} DIRECTORY)

foreach(library IN ITEMS Qt6Core Qt6Gui Qt6Widgets)
    stallark_runtime_file(${qt_bin}/${library}.dll . STRIP)
endforeach()
stallark_runtime_file(${qt_prefix}/plugins/platforms/qwindows.dll plugins/platforms STRIP)
stallark_runtime_file(${qt_prefix}/plugins/styles/qwindowsvistastyle.dll plugins/styles STRIP)
stallark_runtime_file(${compiler_runtime}/libstdc++-6.dll . STRIP)
stallark_runtime_file(${compiler_runtime}/libgcc_s_seh-1.dll . STRIP)
stallark_runtime_file(${CMAKE_FIND_ROOT_PATH}/lib/libwinpthread-1.dll . STRIP)

# Qt's Japanese texts of the open dialog and the message box, the same release as the Qt here,
# and the file that tells Qt where its plugins and texts are.
stallark_runtime_file(/usr/share/qt6/translations/qtbase_ja.qm translations)
stallark_runtime_file(${CMAKE_CURRENT_SOURCE_DIR}/qt.conf .)

# Our licence with its copyright line filled in from the package's copyright file, for the
# installer's licence page and licences\Stallark-MIT.txt.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/copyright holders REGEX "^Copyright: " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright: " "" holders "${holders}")
file(READ ${PROJECT_SOURCE_DIR}/LICENSES/MIT.txt licence)
string(REPLACE "<year> <copyright holders>" "${holders}" licence "${licence}")
if(NOT holders OR licence MATCHES "<year>")
    message(FATAL_ERROR "LICENSES/MIT.txt or packaging/copyright no longer fit together")
endif()
set(STALLARK_LICENCE ${CMAKE_CURRENT_BINARY_DIR}/Stallark-MIT.txt)
file(CONFIGURE OUTPUT ${STALLARK_LICENCE} CONTENT "${licence}" @ONLY)

# The licences: ours, Qt's (LGPL-3, which builds on the GPL-3) with the notices of Qt and of
# the code it carries, and those of the compiler's runtime.
stallark_runtime_file(${STALLARK_LICENCE} licences)
stallark_runtime_file(/usr/share/common-licenses/LGPL-3 licences NAME Qt-LGPL-3.0.txt)
stallark_runtime_file(/usr/share/common-licenses/GPL-3 licences NAME GPL-3.0.txt)
stallark_runtime_file(/usr/share/doc/libqt6core6/copyright licences NAME Qt-notices.txt)
stallark_runtime_file(/usr/share/doc/gcc-mingw-w64-base/copyright licences
    NAME MinGW-runtime-notices.txt)

# The user's guide as a text file that a double-click opens in Notepad, made from the Markdown
# guide (GuideText.cmake); the Start menu links it.
set(guide_template ${PROJECT_SOURCE_DIR}/docs/guide-ja.txt.in)
add_custom_command(OUTPUT ${runtime}/${STALLARK_GUIDE_WINDOWS}
    COMMAND ${CMAKE_COMMAND} -DMARKDOWN=${PROJECT_SOURCE_DIR}/${STALLARK_GUIDE}
            -DTEMPLATE=${guide_template} -DOUTPUT=${runtime}/${STALLARK_GUIDE_WINDOWS}
            -DVERSION=${PROJECT_VERSION} -DCONTACT=${STALLARK_MAINTAINER}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/GuideText.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/${STALLARK_GUIDE} ${guide_template}
            ${CMAKE_CURRENT_SOURCE_DIR}/GuideText.cmake
    VERBATIM)
list(APPEND runtime_files ${runtime}/${STALLARK_GUIDE_WINDOWS})

# The demo file, written by the Linux build's generator: the same bytes on both.
add_custom_command(OUTPUT ${runtime}/examples/demo.dat
    COMMAND ${CMAKE_COMMAND} -E make_directory ${runtime}/examples
    COMMAND ${STALLARK_LINUX_TOOLS}/stallark-gen ${runtime}/examples/demo.dat
    DEPENDS ${STALLARK_LINUX_TOOLS}/stallark-gen
    VERBATIM)
list(APPEND runtime_files ${runtime}/examples/demo.dat)
add_custom_target(stallark_windows_runtime ALL DEPENDS ${runtime_files})
