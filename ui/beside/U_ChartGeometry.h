// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

// A point of the ability chart, in units of the chart's radius from its centre, y downwards.
struct ChartPoint {
    double X, Y;
};
// Where the value of basic ability `ability` lies on the chart: the axes start at the top and
// go clockwise, evenly apart; on each, the ability's least value is the centre and its greatest
// the rim. A value outside the range is drawn at its nearer end.
ChartPoint AbilityChartPoint(int ability, std::int32_t value);
