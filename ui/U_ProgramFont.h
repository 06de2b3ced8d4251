// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

// The family the windows ask for: "ＭＳ Ｐゴシック" where it is among the `installed` families
// (by that name or by its English one), else the first installed family that stands in for
// it, else "ＭＳ Ｐゴシック" all the same (Qt's font fallback then finds whatever Japanese font
// there is).
QString ProgramFontFamily(const QStringList& installed);

// Makes the windows' font, that family at 12 pixels, the application's font.
void UseProgramFont();
