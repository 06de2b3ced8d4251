// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdlib>

// The tests and benchmarks show their windows on Qt's offscreen platform, off any screen and
// without a display, unless QT_QPA_PLATFORM already names another (bench/run measures start-up
// on xcb too). Called before the application object is made; children inherit it.
inline void PreferOffscreenPlatform() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}
