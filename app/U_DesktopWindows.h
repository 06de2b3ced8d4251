// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// How the program's windows meet the desktop's window manager.

// In a GNOME session on Wayland the program runs through the session's X server (Xwayland),
// and on Wayland itself only where there is none. GNOME draws no title bars for Wayland
// programs, and Qt's own offer to maximise the fixed windows; nor may a Wayland program place
// its windows, so the dialogs came up in a corner rather than over the main window. Through X
// the window manager draws the bars as the windows ask and puts each window where it asks.
// A platform the user chose (QT_QPA_PLATFORM) stands. Called before the application object.
void PreferDesktopPlatform();

// Keeps every modal dialog, and the window it belongs to, on screen: a window manager that
// offers to minimise a modal dialog (KWin does, whatever the dialog asks) hides the main window
// with it, and leaves nothing on screen to reach the dialog by. A minimised modal dialog is
// shown again at once. Called once, after the application object is made.
void KeepModalDialogsOnScreen();
