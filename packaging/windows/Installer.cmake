# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# The installer and the zip, made by CPack from the programs and the runtime folder
# (Runtime.cmake). Everything in one folder: the programs find their DLLs beside them and Qt its
# plugins through qt.conf.

install(TARGETS Stallark stallark-dump RUNTIME DESTINATION .)
install(DIRECTORY ${runtime}/ DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Stallark)
set(CPACK_PACKAGE_VENDOR "The Stallark developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer for the horse records of a horse data file")
set(CPACK_PACKAGE_FILE_NAME Stallark-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Stallark)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Stallark)
set(CPACK_RESOURCE_FILE_LICENSE ${STALLARK_LICENCE})
set(CPACK_STRIP_FILES ON)
# The same bytes from any build of one commit: the installer lists its files in the order of
# their names and keeps no times (SetDateSave off); the zip is rewritten in that order, with the
# commit's time (SOURCE_DATE_EPOCH).
set(CPACK_STALLARK_NSIS_LISTS ${CMAKE_CURRENT_BINARY_DIR}/nsis)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/NsisFileLists.cmake)
set(CPACK_STALLARK_NORMALISE_ZIP ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/normalise-zip)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/NormaliseZip.cmake)
# A 64-bit, Unicode installer (its own stub and its uninstaller's), into Program Files, that
# replaces an installed version and waits for the programs to close (upgrade.nsh).
# Its pages are in Japanese on a Japanese Windows and in English elsewhere, their texts in
# texts.nsh: the pages' own texts are named here, before CPack's script makes the pages, and the
# guide's file for the Start-menu entry. The buttons below the pages grow to their texts
# (buttons.nsh) once the installer's or the uninstaller's window is there.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
  SetDateSave off
  !define STALLARK_GUIDE '${STALLARK_GUIDE_WINDOWS}'
  !include /CHARSET=UTF8 '${CMAKE_CURRENT_SOURCE_DIR}/upgrade.nsh'
  !include /CHARSET=UTF8 '${CMAKE_CURRENT_SOURCE_DIR}/buttons.nsh'
  !define MUI_CUSTOMFUNCTION_GUIINIT StallarkWidenButtons
  !define MUI_CUSTOMFUNCTION_UNGUIINIT un.StallarkWidenButtons
  !define MUI_WELCOMEPAGE_TITLE '$(StallarkWelcomeTitle)'
  !define MUI_WELCOMEPAGE_TEXT '$(StallarkWelcomeText)'
  !define MUI_LICENSEPAGE_TEXT_BOTTOM '$(StallarkLicenceBottom)'
  !define MUI_DIRECTORYPAGE_TEXT_TOP '$(StallarkFolderText)'
  !define MUI_DIRECTORYPAGE_TEXT_DESTINATION '$(StallarkFolderBox)'
  !define MUI_FINISHPAGE_TEXT '$(StallarkFinishText)'")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Stallark)
set(CPACK_NSIS_DISPLAY_NAME Stallark)
set(CPACK_NSIS_MUI_ICON ${STALLARK_ICO})
set(CPACK_NSIS_MUI_UNIICON ${STALLARK_ICO})
# The program list shows the program's own icon; the Start menu gets two entries, Stallark and
# the guide (texts.nsh), and no Uninstall shortcut: the program list uninstalls.
set(CPACK_NSIS_INSTALLED_ICON_NAME Stallark.exe)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES Stallark Stallark)
set(CPACK_NSIS_CREATE_ICONS_EXTRA "!insertmacro StallarkCreateGuideLink")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "!insertmacro StallarkDeleteGuideLink")
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# The program list's entry as Windows reads it: NoModify and NoRepair as numbers (CPack writes
# them as strings), and the size of what is installed, in KB. The installer's own key of the
# install folder goes on uninstalling together with the vendor's key above it, which CPack
# leaves behind, empty. CPack reads these texts once more as CMake code, so the keys'
# backslashes are doubled for it; and it mangles double quotes, so NSIS gets single ones.
set(uninstall_key "Software/Microsoft/Windows/CurrentVersion/Uninstall")
string(APPEND uninstall_key "/${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}")
set(folder_key "Software/${CPACK_PACKAGE_VENDOR}/${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}")
set(vendor_key "Software/${CPACK_PACKAGE_VENDOR}")
foreach(key uninstall_key folder_key vendor_key)
    string(REPLACE "/" "\\\\" ${key} "${${key}}")
endforeach()
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "Call StallarkRemoveInstalled")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  WriteRegStr SHCTX '${uninstall_key}' 'InstallLocation' '$INSTDIR'
  WriteRegDWORD SHCTX '${uninstall_key}' 'NoModify' 1
  WriteRegDWORD SHCTX '${uninstall_key}' 'NoRepair' 1
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX '${uninstall_key}' 'EstimatedSize' $0")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  StrCpy $R1 $INSTDIR
  Call un.StallarkWaitUntilClosed
  DeleteRegKey SHCTX '${folder_key}'
  DeleteRegKey /ifempty SHCTX '${vendor_key}'")
# CPack's own installer script with these changes: no Uninstall shortcut; the end of .onInit
# calls upgrade.nsh (which keeps an installed version's folder); the files are installed and
# uninstalled by the lists of NsisFileLists.cmake; English and Japanese alone, with the texts of
# texts.nsh (the other languages would show its English texts among their own).
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
string(REGEX REPLACE "(  !insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*\n)+"
    "@STALLARK_LANGUAGES@" template "${template}")
foreach(change IN ITEMS shortcut init install uninstall languages)
    if(change STREQUAL shortcut)
        set(old [=[  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Uninstall.lnk" "$INSTDIR\@CPACK_NSIS_UNINSTALL_NAME@.exe"
]=])
        set(new "")
    elseif(change STREQUAL init)
        set(old "  noOptionsPage:\nFunctionEnd")
        set(new "  noOptionsPage:\n  Call StallarkOnInit\nFunctionEnd")
    elseif(change STREQUAL install)
        set(old "@CPACK_NSIS_FULL_INSTALL@")
        set(new "!include '${CPACK_STALLARK_NSIS_LISTS}/install-files.nsh'")
    elseif(change STREQUAL uninstall)
        set(old "@CPACK_NSIS_DELETE_FILES@\n@CPACK_NSIS_DELETE_DIRECTORIES@")
        set(new "!include '${CPACK_STALLARK_NSIS_LISTS}/uninstall-files.nsh'")
    else()
        set(old "@STALLARK_LANGUAGES@")
        set(new "  !insertmacro MUI_LANGUAGE \"English\"
  !insertmacro MUI_LANGUAGE \"Japanese\"
  !include /CHARSET=UTF8 '${CMAKE_CURRENT_SOURCE_DIR}/texts.nsh'
")
    endif()
    string(FIND "${template}" "${old}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "CPack's NSIS.template.in has changed: no ${old}")
    endif()
    string(REPLACE "${old}" "${new}" template "${template}")
endforeach()
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/nsis/NSIS.template.in "${template}")
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_BINARY_DIR}/nsis)
include(CPack)
