# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Installs the build into a scratch tree under the prefix /usr, as the Debian package does,
# checks that it holds exactly the files of EXPECTED (paths relative to the tree), that the
# installed stallark-dump lists horses from the installed DEMO_FILE, that the installed guide
# GUIDE (a path in the tree) is the source's GUIDE_SOURCE, and lets appstreamcli check the
# metainfo against the installed desktop entry and icons.
# cmake -DBUILD_DIR=... -DSTAGE=... -DEXPECTED=... -DAPPSTREAMCLI=... -DDEMO_FILE=...
#       -DGUIDE=... -DGUIDE_SOURCE=... -P CheckInstallTree.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    OUTPUT_QUIET RESULT_VARIABLE result ERROR_VARIABLE install_errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${install_errors}")
endif()

file(GLOB_RECURSE installed RELATIVE ${STAGE} ${STAGE}/*)
list(SORT installed)
list(SORT EXPECTED)
set(errors)
foreach(path IN LISTS EXPECTED)
    if(NOT path IN_LIST installed)
        list(APPEND errors "not installed: ${path}")
    endif()
endforeach()
foreach(path IN LISTS installed)
    if(NOT path IN_LIST EXPECTED)
        list(APPEND errors "installed but not expected: ${path}")
    endif()
endforeach()
foreach(program usr/bin/Stallark usr/bin/stallark-dump)
    if(EXISTS ${STAGE}/${program} AND NOT IS_DIRECTORY ${STAGE}/${program})
        file(READ ${STAGE}/${program} magic LIMIT 4 HEX)
        if(NOT magic STREQUAL "7f454c46")
            list(APPEND errors "${program} is not an ELF executable")
        endif()
    endif()
endforeach()

# The demo file is there for a user to open: it must be a horse data file with horses listed.
if(EXISTS ${STAGE}/usr/bin/stallark-dump AND EXISTS ${STAGE}/${DEMO_FILE})
    execute_process(COMMAND ${STAGE}/usr/bin/stallark-dump ${STAGE}/${DEMO_FILE}
        OUTPUT_VARIABLE listing ERROR_VARIABLE listing RESULT_VARIABLE result)
    string(REGEX MATCHALL "\n" line_breaks "${listing}")
    list(LENGTH line_breaks line_count)
    if(NOT result EQUAL 0 OR line_count LESS 2)
        list(APPEND errors "stallark-dump ${DEMO_FILE} (exit ${result}) lists no horse:\n${listing}")
    endif()
endif()

if(EXISTS ${STAGE}/${GUIDE})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${STAGE}/${GUIDE} ${GUIDE_SOURCE}
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        list(APPEND errors "${GUIDE} is not ${GUIDE_SOURCE}")
    endif()
endif()

# validate-tree finds the metainfo, its launchable desktop entry and its icon in the tree.
execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net --pedantic ${STAGE}
    OUTPUT_VARIABLE report ERROR_VARIABLE report RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR report MATCHES "(^|\n)[EWIP]: ")
    list(APPEND errors "appstreamcli validate-tree (exit ${result}):\n${report}")
endif()

if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "install tree check failed:\n  ${text}")
endif()
list(LENGTH installed count)
message(STATUS "install tree: the ${count} expected files; appstreamcli validate-tree passed")
