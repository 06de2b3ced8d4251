; SPDX-FileCopyrightText: 2026 The Stallark developers
; SPDX-License-Identifier: MIT
; The buttons below the pages, made as wide as their longest text needs in the dialogs' font.
; NSIS gives them 50 dialog units, which in a Japanese font hold about six full-width
; characters: インストール(&I) was cut at both ends. Run once the outer dialog exists (the
; installer's and the uninstaller's GUI init); キャンセル keeps its right edge, and 次へ and 戻る
; move left, keeping the gaps between the three.
!include LogicLib.nsh
!include WinMessages.nsh

; $R8 = the larger of $R8 and the width of TEXT in the device context $R6.
!macro StallarkWidest text
  StrLen $R9 "${text}"
  System::Call "*(i 0, i 0) p .R7"
  System::Call "gdi32::GetTextExtentPoint32W(p R6, w '${text}', i R9, p R7)"
  System::Call "*$R7(i .R9, i)"
  System::Free $R7
  ${If} $R9 > $R8
    StrCpy $R8 $R9
  ${EndIf}
!macroend

; $R0 $R1 $R2 $R3 = the left, top, right and bottom of the button ID in the outer dialog.
!macro StallarkButtonRect id
  GetDlgItem $R5 $HWNDPARENT ${id}
  System::Call "*(i 0, i 0, i 0, i 0) p .R7"
  System::Call "user32::GetWindowRect(p R5, p R7)"
  System::Call "user32::MapWindowPoints(p 0, p $HWNDPARENT, p R7, i 2)"
  System::Call "*$R7(i .R0, i .R1, i .R2, i .R3)"
  System::Free $R7
!macroend

; The button ID with its right edge at RIGHT, $R8 wide, at the top $R1 and height $R3.
!macro StallarkPlaceButton id right
  GetDlgItem $R5 $HWNDPARENT ${id}
  IntOp $R4 ${right} - $R8
  System::Call "user32::SetWindowPos(p R5, p 0, i R4, i R1, i R8, i R3, i 0x14)"
!macroend

; The registers the function uses, kept for its caller.
!macro StallarkSaveRegisters
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  Push $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  Push $R8
  Push $R9
!macroend
!macro StallarkRestoreRegisters
  Pop $R9
  Pop $R8
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
!macroend

!macro StallarkWidenButtons un
Function ${un}StallarkWidenButtons
  !insertmacro StallarkSaveRegisters
  System::Call "user32::GetDC(p $HWNDPARENT) p .R6"
  SendMessage $HWNDPARENT ${WM_GETFONT} 0 0 $R5
  System::Call "gdi32::SelectObject(p R6, p R5) p .R4"
  StrCpy $R8 0
  !insertmacro StallarkWidest "$(^NextBtn)"
  !insertmacro StallarkWidest "$(^BackBtn)"
  !insertmacro StallarkWidest "$(^InstallBtn)"
  !insertmacro StallarkWidest "$(^AgreeBtn)"
  !insertmacro StallarkWidest "$(^CancelBtn)"
  !insertmacro StallarkWidest "$(^CloseBtn)"
  !insertmacro StallarkWidest "$(MUI_BUTTONTEXT_FINISH)"
  !insertmacro StallarkWidest "$(StallarkUninstallButton)"
  System::Call "gdi32::SelectObject(p R6, p R4)"
  System::Call "user32::ReleaseDC(p $HWNDPARENT, p R6)"
  ; Room for the frame and the focus rectangle on both sides.
  IntOp $R8 $R8 + 16
  ; Cancel (2) $0 to $1, Next (1) $2 to $3, Back (3) $4 to $5.
  !insertmacro StallarkButtonRect 3
  StrCpy $4 $R0
  StrCpy $5 $R2
  !insertmacro StallarkButtonRect 1
  StrCpy $2 $R0
  StrCpy $3 $R2
  !insertmacro StallarkButtonRect 2
  StrCpy $0 $R0
  StrCpy $1 $R2
  IntOp $R3 $R3 - $R1
  IntOp $R9 $1 - $0
  ${If} $R8 > $R9
    ; The gaps: $6 between Next and Cancel, $7 between Back and Next.
    IntOp $6 $0 - $3
    IntOp $7 $2 - $5
    !insertmacro StallarkPlaceButton 2 $1
    IntOp $8 $1 - $R8
    IntOp $8 $8 - $6
    !insertmacro StallarkPlaceButton 1 $8
    IntOp $8 $8 - $R8
    IntOp $8 $8 - $7
    !insertmacro StallarkPlaceButton 3 $8
  ${EndIf}
  !insertmacro StallarkRestoreRegisters
FunctionEnd
!macroend

!insertmacro StallarkWidenButtons ""
!insertmacro StallarkWidenButtons "un."
