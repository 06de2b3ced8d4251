# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Fails when PROGRAM loads a Qt library, directly or through any library it loads; with
# FORBIDDEN (such as Gui|Widgets), only those Qt libraries, and then it must load Qt Core.
#   cmake -DPROGRAM=path [-DFORBIDDEN=Gui|Widgets] -P CheckNoQt.cmake
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
set(core_seen FALSE)
foreach(library IN LISTS resolved unresolved)
    if(FORBIDDEN AND library MATCHES "(^|/)(lib)?Qt[0-9](${FORBIDDEN})")
        message(FATAL_ERROR "${PROGRAM} loads ${library}: it must need no Qt ${FORBIDDEN}")
    elseif(NOT FORBIDDEN AND library MATCHES "(^|/)(lib)?Qt[0-9]")
        message(FATAL_ERROR "${PROGRAM} loads ${library}: the data core must need no Qt")
    endif()
    if(library MATCHES "(^|/)(lib)?Qt[0-9]Core")
        set(core_seen TRUE)
    endif()
endforeach()
if(FORBIDDEN AND NOT core_seen)
    message(FATAL_ERROR "${PROGRAM} loads no Qt Core: the check cannot be trusted")
endif()
message(STATUS "${count} libraries, no forbidden Qt among them")
