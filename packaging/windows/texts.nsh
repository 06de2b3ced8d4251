; SPDX-FileCopyrightText: 2026 The Stallark developers
; SPDX-License-Identifier: MIT
; The installer's and the uninstaller's own texts, in Japanese (1041) and English (1033), and
; those of NSIS's Japanese ones that we replace: its uninstall button is in half-width katakana
; (it reads 削除, as the page's heading does), its uninstall sentence is ungrammatical, its line
; above the buttons names NSIS, and its pages spell フォルダ, コンピュータ and スタートメニュー
; where Windows' own Japanese has フォルダー, コンピューター and スタート メニュー, and quote
; buttons as 「次へ」 where Windows has ［次へ］. Included after the languages.
; The Japanese texts break their lines themselves, each line short enough for the narrowest
; page in any Japanese font: left to wrap, a page would end a sentence with い。 or す。 alone
; on a line.

; The dialogs' font for Japanese: NSIS's own choice, ＭＳ Ｐゴシック, is an optional font on
; Windows 10 and 11, Yu Gothic UI is on every one of them.
SetFont /LANG=1041 "Yu Gothic UI" 9

BrandingText "Stallark ${VERSION}"
UninstallButtonText "$(StallarkUninstallButton)"
UninstallText "$(StallarkUninstallText)" "$(StallarkUninstallFolder)"

LangString StallarkWelcomeTitle 1041 "Stallark ${VERSION} の\r\nセットアップへようこそ"
LangString StallarkWelcomeTitle 1033 "Welcome to the Stallark ${VERSION} Setup"
; The welcome and the finish page are InstallOptions pages, which take a line break as the two
; characters \r\n (an actual one would end the text). $StallarkReplacing is StallarkReplacing
; below when a version is installed, else empty.
LangString StallarkWelcomeText 1041 "Stallark ${VERSION} を\r\nこのコンピューターにインストールします。\r\n\r\n$StallarkReplacing［次へ］を押すと続けます。"
LangString StallarkWelcomeText 1033 "This will install Stallark ${VERSION} on this computer.\r\n\r\n$StallarkReplacing$(^ClickNext)"
LangString StallarkReplacing 1041 "インストールされている Stallark $StallarkOldVersion は、\r\nStallark ${VERSION} に置き換えられます。\r\n\r\n"
LangString StallarkReplacing 1033 "The installed Stallark $StallarkOldVersion will be replaced by Stallark ${VERSION}.\r\n\r\n"
LangString StallarkLicenceBottom 1041 "すべての条件に同意する場合は、［同意する］を押してください。$\r$\nこの契約に同意しないと、Stallark はインストールできません。"
LangString StallarkLicenceBottom 1033 "If you accept the terms of the agreement, click I Agree to continue. You must accept the agreement to install Stallark."
LangString StallarkFolderText 1041 "Stallark を次のフォルダーにインストールします。$\r$\nほかのフォルダーにするには、［参照］を押して選んでください。$\r$\n［次へ］を押すと続けます。"
LangString StallarkFolderText 1033 "Setup will install Stallark in the following folder. To install in a different folder, click Browse and select another folder. Click Next to continue."
LangString StallarkFinishText 1041 "Stallark ${VERSION} を\r\nこのコンピューターにインストールしました。\r\n\r\nスタート メニューの「Stallark」から\r\n起動できます。使い方は、同じ場所の\r\n「使い方」で読めます。\r\n\r\n［完了］を押すとセットアップを閉じます。"
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
LangString StallarkUninstallText 1041 "Stallark を次のフォルダーからアンインストールします。$\r$\n［削除］を押すと始めます。"
LangString StallarkUninstallText 1033 "Stallark will be uninstalled from the following folder. Click Uninstall to start the uninstallation."
LangString StallarkUninstallFolder 1041 "フォルダー:"
LangString StallarkUninstallFolder 1033 "Uninstalling from:"

; upgrade.nsh: $R3 is the program that runs.
LangString StallarkRunning 1041 "$R3 が実行中です。$R3 を終了してから［再試行］を押してください。$\n［キャンセル］を押すと、何も変更せずに終了します。"
LangString StallarkRunning 1033 "$R3 is running. Close it, then choose Retry.$\nCancel ends without changing anything."
LangString StallarkUninstallFailed 1041 "インストールされている Stallark をアンインストールできませんでした。"
LangString StallarkUninstallFailed 1033 "The installed Stallark could not be uninstalled."

; The directory page's box around the folder (MUI_DIRECTORYPAGE_TEXT_DESTINATION).
LangString StallarkFolderBox 1041 "インストール先のフォルダー"
LangString StallarkFolderBox 1033 "Destination Folder"

; NSIS's Japanese texts of the pages' headings and the start menu page, in Windows' spelling;
; a heading's second line fits about 22 full-width characters.
; Each is set once more here, which NSIS warns of (6030) and allows.
!pragma warning push
!pragma warning disable 6030
LangString MUI_TEXT_LICENSE_SUBTITLE 1041 "ライセンスの条件をお読みください。"
LangString MUI_INNERTEXT_LICENSE_TOP 1041 "［Page Down］キーで続きを読めます。"
LangString MUI_TEXT_DIRECTORY_SUBTITLE 1041 "インストール先のフォルダーを選んでください。"
LangString MUI_TEXT_STARTMENU_TITLE 1041 "スタート メニュー フォルダーの選択"
LangString MUI_TEXT_STARTMENU_SUBTITLE 1041 "ショートカットを置くフォルダーを選んでください。"
LangString MUI_INNERTEXT_STARTMENU_TOP 1041 "Stallark のショートカットを作る、スタート メニューの$\r$\nフォルダーを選んでください。新しいフォルダーの名前も$\r$\n入力できます。"
LangString MUI_INNERTEXT_STARTMENU_CHECKBOX 1041 "ショートカットを作らない"
LangString MUI_TEXT_INSTALLING_SUBTITLE 1041 "Stallark をインストールしています。"
LangString MUI_UNTEXT_CONFIRM_SUBTITLE 1041 "Stallark をアンインストールします。"
LangString MUI_UNTEXT_UNINSTALLING_SUBTITLE 1041 "Stallark を削除しています。"
!pragma warning pop
