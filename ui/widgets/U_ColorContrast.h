// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>

// The contrast of two colours as the Web Content Accessibility Guidelines measure it, from 1
// (the same luminance) to 21 (black against white). Text needs at least 4.5 to be readable.
// QColor only: an overload taking 0xRRGGBB numbers would also take Qt::black, an enumerator.
double ContrastRatio(const QColor& first, const QColor& second);
