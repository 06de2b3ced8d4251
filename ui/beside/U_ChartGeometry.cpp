// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ChartGeometry.h"

#include "U_HorseStatus.h"

#include <algorithm>
#include <cmath>
#include <numbers>

ChartPoint AbilityChartPoint(int ability, std::int32_t value) {
    const BasicAbilityField& field = BasicAbilityFields[ability];
    const double share =
        static_cast<double>(std::clamp(value, field.Least, field.Greatest) - field.Least) /
        (field.Greatest - field.Least);
    const double angle = 2 * std::numbers::pi * ability / BasicAbilityCount;
    return {share * std::sin(angle), -share * std::cos(angle)};
}
