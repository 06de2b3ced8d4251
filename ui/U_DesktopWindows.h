// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// How the program's windows meet the desktop's window manager.

// Keeps every modal dialog, and the window it belongs to, on screen: a window manager that
// offers to minimise a modal dialog (KWin does, whatever the dialog asks) hides the main window
// with it, and leaves nothing on screen to reach the dialog by. A minimised modal dialog is
// shown again at once. Called once, after the application object is made.
void KeepModalDialogsOnScreen();
