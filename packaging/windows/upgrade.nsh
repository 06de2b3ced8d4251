; SPDX-FileCopyrightText: 2026 The Stallark developers
; SPDX-License-Identifier: MIT
; Upgrades and programs in use, for the installer script that CPack writes (included at its top).
; An install over an earlier version keeps that version's folder and runs its uninstaller first,
; so that no file it installed and this version does not stays behind. Neither the installer nor
; the uninstaller touches a file while Stallark.exe or stallark-dump.exe runs from the folder:
; they say so and try again once the user has closed it; run silently (/S) they end at once with
; status 2, having changed nothing.
!include LogicLib.nsh
!include FileFunc.nsh

!define STALLARK_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Stallark"
; The installed version, and the welcome page's sentence saying that it will be replaced (empty
; when none is installed); texts.nsh has the sentence.
Var StallarkOldVersion
Var StallarkReplacing

; $R1: the folder of the installed version, from its entry in the program list; "" if none.
Function StallarkInstalledFolder
  ReadRegStr $R1 SHCTX "${STALLARK_UNINSTALL_KEY}" "UninstallString"
  StrCpy $R2 $R1 1
  ${If} $R2 == '"'
    StrCpy $R1 $R1 -1 1
  ${EndIf}
  ${If} $R1 != ""
    ${GetParent} $R1 $R1
  ${EndIf}
FunctionEnd

; Called at the end of .onInit: notes the installed version for the welcome page and, with no
; folder given (/D=), installs where it is.
Function StallarkOnInit
  ReadRegStr $StallarkOldVersion SHCTX "${STALLARK_UNINSTALL_KEY}" "DisplayVersion"
  ${If} $StallarkOldVersion != ""
    StrCpy $StallarkReplacing "$(StallarkReplacing)"
  ${EndIf}
  ${If} $IS_DEFAULT_INSTALLDIR == 1
    Call StallarkInstalledFolder
    ${If} $R1 != ""
      StrCpy $INSTDIR $R1
    ${EndIf}
  ${EndIf}
FunctionEnd

; Sets $R3 to the name of a program that runs from the folder $R1: Windows opens no running
; program for writing.
!macro StallarkRunning name
  ${If} ${FileExists} "$R1\${name}"
    ClearErrors
    FileOpen $R2 "$R1\${name}" a
    ${If} ${Errors}
      StrCpy $R3 "${name}"
    ${Else}
      FileClose $R2
    ${EndIf}
  ${EndIf}
!macroend

; Returns once neither program runs from the folder $R1; quits if the user cancels, and at once
; when silent.
!macro StallarkWaitUntilClosed un
Function ${un}StallarkWaitUntilClosed
  retry:
  StrCpy $R3 ""
  !insertmacro StallarkRunning Stallark.exe
  !insertmacro StallarkRunning stallark-dump.exe
  ${If} $R3 != ""
    DetailPrint "$R1\$R3"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StallarkRunning)" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro StallarkWaitUntilClosed ""
!insertmacro StallarkWaitUntilClosed "un."

; First thing of the install: waits for the programs to close, in the old folder and the new,
; then runs the installed version's uninstaller in its folder (_?= keeps it from copying itself
; away, so that it is waited for; it leaves itself behind, which goes here).
Function StallarkRemoveInstalled
  Call StallarkInstalledFolder
  StrCpy $R4 $R1
  ${If} $R4 != ""
    Call StallarkWaitUntilClosed
  ${EndIf}
  StrCpy $R1 $INSTDIR
  Call StallarkWaitUntilClosed
  ${If} ${FileExists} "$R4\Uninstall.exe"
    DetailPrint '"$R4\Uninstall.exe" /S'
    ClearErrors
    ExecWait '"$R4\Uninstall.exe" /S _?=$R4' $R2
    ${If} ${Errors}
    ${OrIf} $R2 != 0
      MessageBox MB_OK|MB_ICONSTOP "$(StallarkUninstallFailed)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    Delete "$R4\Uninstall.exe"
    RMDir "$R4"
  ${EndIf}
  SetOutPath "$INSTDIR"
FunctionEnd
