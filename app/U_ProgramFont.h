// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The family the windows ask for: "ＭＳ Ｐゴシック" where `installed` says it is there, else the
// first family that stands in for it and is there (the Japanese families of every Windows
// first), else the first of `japaneseFamilies`, else "ＭＳ Ｐゴシック" all the same: a family
// chosen by Qt for a missing one need not have a single Japanese character. `installed` is
// asked by each family's English name and then by its Japanese one, as Qt lists a family by the
// name in the user's language ("IPA Pゴシック" in Japanese, "IPAPGothic" elsewhere); the family
// is returned by the name it is there by. `japaneseFamilies` is asked only when no family of the
// list is there.
QString ProgramFontFamily(const std::function<bool(const QString&)>& installed,
                          const std::function<QStringList()>& japaneseFamilies);

// Makes the windows' font, that family at 12 pixels, the application's font, and keeps it so
// when another is set on the application.
void UseProgramFont();
