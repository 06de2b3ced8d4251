// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>

// The contrast of two colours as the Web Content Accessibility Guidelines measure it, from 1
// (the same luminance) to 21 (black against white). Text needs at least 4.5 to be readable.
double ContrastRatio(const QColor& first, const QColor& second);

// Keeps the text of every tooltip at least 4.5:1 against its background, in black or white
// where the palette or the style would give it less. Windows' style takes a tooltip's text
// colour from the system's visual theme while it polishes the tooltip; under Wine that theme
// gives a pale grey, and the list's tooltips were pale grey on white. Called once, after the
// application object is made.
void KeepToolTipsReadable();
