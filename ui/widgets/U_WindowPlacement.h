// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QRect>

#include <array>

class QWidget;

// The sides of the list's window, in the order a new window tries them.
enum class Side { Right, Below, Left, Above };
using SideOrder = std::array<Side, 4>;

// Where a window of frame size `size` goes beside `list` on the screen's work area `screen`,
// never over the list and whole on the screen, next to the list's top or left edge as far as the
// room allows. The first that can be had of: the first side in `sides` where it fits whole over
// none of `others` (the other windows beside the list); made smaller, but not below `least`,
// where most of it shows over none of them; the first side where it fits whole, over as little
// of them as it can; made smaller still, where most of it shows, over none of them if it can.
QRect PlacedBeside(QSize size, QSize least, const QRect& list, const QRect& screen,
                   const SideOrder& sides, const QList<QRect>& others);

// Moves and, where it must, shrinks a new window by that rule, beside `beside`, the other
// windows beside it being its visible top-level children.
void PlaceBeside(QWidget& window, const QWidget& beside, const SideOrder& sides);
