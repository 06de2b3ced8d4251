// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_WindowPlacement.h"

#include <QWidget>

// Shows a window beside the list and gives it the keyboard.
void BringUp(QWidget& window);
// Esc closes `window`, as it closes a dialog.
void CloseOnEscape(QWidget& window);

// The window of class W that `owner` has, or one that `make` makes with `owner` as its parent,
// placed beside `owner` on the first of `sides` with room; brought up either way. A window of
// the list's window: it closes with it, and never keeps the program running on its own.
template <typename W, typename Make>
W& ShowBeside(QWidget& owner, const SideOrder& sides, Make make) {
    W* window = owner.findChild<W*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) {
        window = make();
        PlaceBeside(*window, owner, sides);
    }
    BringUp(*window);
    return *window;
}
