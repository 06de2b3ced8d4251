// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPalette>

// Follows the desktop's choice of a light or a dark appearance, from start-up on and whenever
// the user changes it: on Windows the default app mode, on GNOME the desktop portal's colour
// scheme; on KDE the palette Qt is given already follows it. The choice is only read, never
// written, and is waited for, never polled. Called once, after the application object is made.
void FollowDesktopColorScheme();

// The palette of the dark appearance, for the Fusion style: every text at least 4.5:1 against
// the background it is drawn on.
QPalette DarkPalette();

// What each platform's file tells the rest: the desktop asked for dark (true) or light.
void ShowDarkColorScheme(bool dark);

// The platform's part: starts reading the desktop's choice, calling ShowDarkColorScheme with
// it now or once it is known, and again at every change; and draws the windows' title bars
// dark or light where the program, not the window manager, chooses them.
void WatchDesktopColorScheme();
void ShowDarkTitleBars(bool dark);
