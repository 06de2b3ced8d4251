// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseHistory.h"

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

class QCheckBox;

// The time a version was read, in local time: HH:MM:SS, after the date when the history spans
// more than one day.
QString TrendTimeText(std::int64_t ms, bool withDate);
// Whether the versions were read on more than one local day.
bool SpansDays(const std::vector<TrendPoint>& points);

// What the chart's axes cover: the time from the first version to the last, and the values of
// the abilities shown, widened to whole tens.
struct TrendAxes {
    std::int64_t FirstMs = 0, LastMs = 0;
    int Least = 0, Greatest = 10;
};
using ShownAbilities = std::bitset<BasicAbilityCount>;
TrendAxes AxesFor(const std::vector<TrendPoint>& points, ShownAbilities shown);
// Where a value read at `ms` lies in `plot`: time to the right, values upwards. A history of a
// single instant stands in the middle.
QPointF TrendChartPoint(const QRectF& plot, const TrendAxes& axes, std::int64_t ms, int value);
// The values at which the value axis is marked: at most eight, evenly apart by 5, 10, 20, 50 or
// 100, from Least to Greatest.
std::vector<int> ValueTicks(const TrendAxes& axes);

// How a line is told apart without its colour: by its marker's shape, filled or hollow, and a
// solid or dashed line. No two abilities share all three.
enum class MarkerShape { Circle, Square, Triangle, Diamond, InvertedTriangle };
struct LineLook {
    QColor Color;
    MarkerShape Shape;
    bool Hollow;
    bool Dashed;
};
// The look of ability `ability`'s line over `background`, its colour darkened or lightened until
// it stands out by 3:1 or more.
LineLook TrendLineLook(int ability, QColor background);

// The plot of the ten abilities over time: an axis of values, an axis of time, a line per
// ability shown, a marker at each version where there is room. Hovering near a point shows its
// value. It takes the focus, for Ctrl+C, which copies the chart with its legend as an image.
class TTrendPlot : public QWidget {
    Q_OBJECT
public:
    explicit TTrendPlot(QWidget* parent = nullptr);

    void SetPoints(std::vector<TrendPoint> points);
    void SetShown(ShownAbilities shown);
    // The rectangle inside the axes where the lines are drawn.
    QRectF PlotArea() const;
    // The ability and the version nearest to `at`, within a few pixels.
    std::optional<std::pair<int, std::size_t>> PointNear(QPointF at) const;

    QSize sizeHint() const override { return {520, 300}; }

signals:
    void CopyRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DrawAxes(QPainter& painter, const QRectF& plot) const;
    void DrawLine(QPainter& painter, const QRectF& plot, int ability);
    void Describe();

    std::vector<TrendPoint> points_;
    ShownAbilities shown_;
    TrendAxes axes_;
    bool withDate_ = false;
    QPolygonF line_; // kept for its room between paints
};

// The chart as a whole: the legend, a check box per ability that turns its line on and off by
// mouse or keyboard, above the plot. Its image is what Ctrl+C on the plot copies.
class TTrendChart : public QWidget {
    Q_OBJECT
public:
    explicit TTrendChart(QWidget* parent = nullptr);

    void SetPoints(std::vector<TrendPoint> points) { plot_->SetPoints(std::move(points)); }
    TTrendPlot* Plot() const { return plot_; }
    QCheckBox* LegendEntry(int ability) const { return legend_[ability]; }
    // Puts the chart on the clipboard as an image; nothing is written anywhere.
    void CopyImage();

protected:
    void changeEvent(QEvent* event) override;

private:
    void UpdateLegendIcons();

    TTrendPlot* plot_;
    std::array<QCheckBox*, BasicAbilityCount> legend_;
};
