# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Run by CPack after it has made a package: the zip gets a fixed order, times and permissions
# (normalise-zip), so that any build of one commit gives the same bytes.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.zip$")
        execute_process(COMMAND ${CPACK_STALLARK_NORMALISE_ZIP} ${package}
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
