// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QVariant>

// How a best value is marked, in the 能力表 and in the 比較: bold, on a background that keeps
// its text at 4.5:1 or more, light or dark as the theme's base is; a screen reader hears
// `description`. `role` is the model's; roles the mark does not set give nothing.
QVariant MarkedCellData(int role, const QString& description);
inline constexpr const char* BestValueDescription = "最高値";

// The mark's two colours in the theme now.
struct MarkColors {
    QColor Background, Text;
};
MarkColors CurrentMarkColors();
