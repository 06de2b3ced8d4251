# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (posix threads, as Qt for Windows was
# built with); the programs built run here under Wine.
#   cmake -DCMAKE_TOOLCHAIN_FILE=packaging/windows/toolchain-mingw-w64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(STALLARK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${STALLARK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STALLARK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${STALLARK_MINGW}-windres)

# Headers and libraries of the target only; programs (moc, uic, the compilers) of the build
# machine. Packages may lie outside the target's root too: Qt for Windows is unpacked anywhere.
set(CMAKE_FIND_ROOT_PATH /usr/${STALLARK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

find_program(STALLARK_WINE wine)
if(STALLARK_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${STALLARK_WINE})
endif()
