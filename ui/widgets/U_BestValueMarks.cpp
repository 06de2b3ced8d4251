// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_BestValueMarks.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>

namespace {

// Dark text on amber in a light theme, light text on brown in a dark one; both pairs are well
// above 4.5:1 (the tests measure them).
constexpr QRgb LightMarkBackground = 0xFFE08A, LightMarkText = 0x000000;
constexpr QRgb DarkMarkBackground = 0x5C4400, DarkMarkText = 0xFFFFFF;

bool DarkTheme() {
    return QGuiApplication::palette().color(QPalette::Base).lightness() < 128;
}

} // namespace

MarkColors CurrentMarkColors() {
    return DarkTheme() ? MarkColors{QColor(DarkMarkBackground), QColor(DarkMarkText)}
                       : MarkColors{QColor(LightMarkBackground), QColor(LightMarkText)};
}

QVariant MarkedCellData(int role, const QString& description) {
    switch (role) {
    case Qt::FontRole: {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::BackgroundRole:
        return CurrentMarkColors().Background;
    case Qt::ForegroundRole:
        return CurrentMarkColors().Text;
    case Qt::AccessibleDescriptionRole:
        return description;
    default:
        return {};
    }
}
