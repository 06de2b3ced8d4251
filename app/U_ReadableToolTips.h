// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Keeps the text of every tooltip at least 4.5:1 against its background, in black or white
// where the palette or the style would give it less. Windows' style takes a tooltip's text
// colour from the system's visual theme while it polishes the tooltip; under Wine that theme
// gives a pale grey, and the list's tooltips were pale grey on white. Called once, after the
// application object is made.
void KeepToolTipsReadable();
