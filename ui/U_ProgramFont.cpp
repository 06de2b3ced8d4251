// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ProgramFont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace {

// The windows' family, by its Japanese and its English name, then the families that stand in
// for it where it is missing: those that every Windows has, then IPAPGothic, which has the same
// metrics, and the other usual Japanese families of Debian.
const char* const ProgramFontFamilies[] = {
    "ＭＳ Ｐゴシック", "MS PGothic", "Yu Gothic UI",     "Meiryo UI",  "Yu Gothic",   "Meiryo",
    "IPAPGothic",      "IPAGothic",  "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic"};

} // namespace

QString ProgramFontFamily(const std::function<bool(const QString&)>& installed,
                          const std::function<QStringList()>& japaneseFamilies) {
    for (const char* family : ProgramFontFamilies) {
        const QString name = QString::fromUtf8(family);
        if (installed(name))
            return name;
    }
    if (const QStringList japanese = japaneseFamilies(); !japanese.isEmpty())
        return japanese.front();
    return QString::fromUtf8(ProgramFontFamilies[0]);
}

void UseProgramFont() {
    // The substitution is resolved here, once, against the installed families. Asked for a
    // family that is missing, Qt would first walk fontconfig's fallbacks for it, for every script
    // the windows show, before it tried a substitute: a sixth of the start-up. Qt's own list of
    // families has each under one name only, the user's language's; hasFamily also knows the
    // others, which fontconfig gives it.
    QFont font(ProgramFontFamily(&QFontDatabase::hasFamily,
                                 [] { return QFontDatabase::families(QFontDatabase::Japanese); }));
    font.setPixelSize(12);
    QApplication::setFont(font);
}
