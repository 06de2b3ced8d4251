// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <functional>

// The family the windows ask for: "ＭＳ Ｐゴシック" where `installed` says it is there, else the
// first family that stands in for it and is there, else "ＭＳ Ｐゴシック" all the same (Qt's
// font fallback then finds whatever Japanese font there is). `installed` is asked by each
// family's English name and then by its Japanese one, as Qt lists a family by the name in the
// user's language ("IPA Pゴシック" in Japanese, "IPAPGothic" elsewhere); the family is returned
// by the name it is there by.
QString ProgramFontFamily(const std::function<bool(const QString&)>& installed);

// Makes the windows' font, that family at 12 pixels, the application's font.
void UseProgramFont();
