// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ProgramFont.h"

#include <QApplication>
#include <QFont>

void UseProgramFont() {
    const QString family = QStringLiteral("ＭＳ Ｐゴシック");
    // IPAPGothic has the same metrics; the others are the usual Japanese families of Debian.
    // Any Japanese font left out here is still found by the font fallback.
    QFont::insertSubstitutions(family,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                                QStringLiteral("TakaoPGothic")});
    QFont font(family);
    font.setPixelSize(12);
    QApplication::setFont(font);
}
