; SPDX-FileCopyrightText: 2026 The Stallark developers
; SPDX-License-Identifier: MIT
; The installer's and the uninstaller's own texts, in Japanese (1041) and English (1033), and
; those of NSIS's Japanese ones that we replace: its uninstall button is in half-width katakana
; (アンインストール in full width is too wide for the button, so it reads 削除, as the page's
; heading does), its uninstall sentence is ungrammatical, and its line above the buttons names
; NSIS. Included after the languages.

; The dialogs' font for Japanese: NSIS's own choice, ＭＳ Ｐゴシック, is an optional font on
; Windows 10 and 11, Yu Gothic UI is on every one of them.
SetFont /LANG=1041 "Yu Gothic UI" 9

BrandingText "Stallark ${VERSION}"
UninstallButtonText "$(StallarkUninstallButton)"
UninstallText "$(StallarkUninstallText)" "$(StallarkUninstallFolder)"

LangString StallarkWelcomeTitle 1041 "Stallark ${VERSION} のセットアップへようこそ"
LangString StallarkWelcomeTitle 1033 "Welcome to the Stallark ${VERSION} Setup"
; The welcome and the finish page are InstallOptions pages, which take a line break as the two
; characters \r\n (an actual one would end the text). $StallarkReplacing is StallarkReplacing
; below when a version is installed, else empty.
LangString StallarkWelcomeText 1041 "Stallark ${VERSION} をこのコンピューターにインストールします。\r\n\r\n$StallarkReplacing［次へ］を押すと続けます。"
LangString StallarkWelcomeText 1033 "This will install Stallark ${VERSION} on this computer.\r\n\r\n$StallarkReplacing$(^ClickNext)"
LangString StallarkReplacing 1041 "インストールされている Stallark $StallarkOldVersion は、Stallark ${VERSION} に置き換えられます。\r\n\r\n"
LangString StallarkReplacing 1033 "The installed Stallark $StallarkOldVersion will be replaced by Stallark ${VERSION}.\r\n\r\n"
LangString StallarkLicenceBottom 1041 "すべての条件に同意する場合は、［同意する］を押してください。Stallark をインストールするには、この契約に同意する必要があります。"
LangString StallarkLicenceBottom 1033 "If you accept the terms of the agreement, click I Agree to continue. You must accept the agreement to install Stallark."
LangString StallarkFolderText 1041 "Stallark を次のフォルダにインストールします。ほかのフォルダにするには、［参照］を押して選んでください。［次へ］を押すと続けます。"
LangString StallarkFolderText 1033 "Setup will install Stallark in the following folder. To install in a different folder, click Browse and select another folder. Click Next to continue."
LangString StallarkFinishText 1041 "Stallark ${VERSION} をこのコンピューターにインストールしました。スタート メニューの Stallark から起動できます。使い方は、スタート メニューの「使い方」にあります。\r\n\r\n［完了］を押すとセットアップを閉じます。"
LangString StallarkFinishText 1033 "Stallark ${VERSION} has been installed on this computer. Start it from Stallark in the Start menu; its guide, in Japanese, is 使い方 in the Start menu.\r\n\r\nClick Finish to close Setup."
; The guide's Start menu entry, beside Stallark's, named in Japanese in both languages as the
; guide is in Japanese.
!define STALLARK_GUIDE_LINK "使い方.lnk"
!macro StallarkCreateGuideLink
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\${STALLARK_GUIDE_LINK}" "$INSTDIR\${STALLARK_GUIDE}"
!macroend
!macro StallarkDeleteGuideLink
  Delete "$SMPROGRAMS\$MUI_TEMP\${STALLARK_GUIDE_LINK}"
!macroend

LangString StallarkUninstallButton 1041 "削除(&U)"
LangString StallarkUninstallButton 1033 "&Uninstall"
LangString StallarkUninstallText 1041 "Stallark を次のフォルダからアンインストールします。［削除］を押すと始めます。"
LangString StallarkUninstallText 1033 "Stallark will be uninstalled from the following folder. Click Uninstall to start the uninstallation."
LangString StallarkUninstallFolder 1041 "フォルダ:"
LangString StallarkUninstallFolder 1033 "Uninstalling from:"

; upgrade.nsh: $R3 is the program that runs.
LangString StallarkRunning 1041 "$R3 が実行中です。$R3 を終了してから［再試行］を押してください。$\n［キャンセル］を押すと、何も変更せずに終了します。"
LangString StallarkRunning 1033 "$R3 is running. Close it, then choose Retry.$\nCancel ends without changing anything."
LangString StallarkUninstallFailed 1041 "インストールされている Stallark をアンインストールできませんでした。"
LangString StallarkUninstallFailed 1033 "The installed Stallark could not be uninstalled."
