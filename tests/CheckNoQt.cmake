# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Fails when PROGRAM loads a Qt library, directly or through any library it loads.
#   cmake -DPROGRAM=path -P CheckNoQt.cmake
# A Windows program is read with the cross objdump, its DLLs looked for in DIRECTORIES.
#   cmake -DPROGRAM=path.exe -DOBJDUMP=x86_64-w64-mingw32-objdump -DDIRECTORIES=dir;... -P ...
if(OBJDUMP)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${OBJDUMP})
endif()
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${PROGRAM} DIRECTORIES ${DIRECTORIES}
    RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR unresolved)
list(LENGTH resolved count)
if(count EQUAL 0)
    message(FATAL_ERROR "found no libraries at all for ${PROGRAM}; the check cannot be trusted")
endif()
foreach(library IN LISTS resolved unresolved)
    if(library MATCHES "(^|/)(lib)?Qt[0-9]")
        message(FATAL_ERROR "${PROGRAM} loads ${library}: the data core must need no Qt")
    endif()
endforeach()
message(STATUS "${count} libraries, none of them Qt")
