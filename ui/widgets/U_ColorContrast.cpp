// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ColorContrast.h"

#include <algorithm>
#include <cmath>

double ContrastRatio(const QColor& first, const QColor& second) {
    const auto luminance = [](const QColor& color) {
        const auto linear = [](int channel) {
            const double c = channel / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        const QColor rgb = color.toRgb();
        return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) +
               0.0722 * linear(rgb.blue());
    };
    const double la = luminance(first), lb = luminance(second);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
