// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_TrendChart.h"

#include "U_ColorContrast.h"
#include "U_Comparison.h"
#include "U_ErrorDisplay.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Eight colours apart for most readers, and two more; each line also has its own marker and
// dash, so that no line depends on its colour alone.
constexpr QRgb LineColors[BasicAbilityCount] = {0x0072B2, 0xE69F00, 0x009E73, 0xD55E00, 0xCC79A7,
                                                0x56B4E9, 0x8C6D00, 0x7F3C8D, 0x505050, 0xA6761D};
constexpr MarkerShape Shapes[] = {MarkerShape::Circle, MarkerShape::Square, MarkerShape::Triangle,
                                  MarkerShape::Diamond, MarkerShape::InvertedTriangle};
constexpr double MarkerRadius = 4;
// Markers closer than this would run into one another: a dense line shows one in so many.
constexpr double MarkerSpacing = 24;
constexpr double NearEnough = 8;

QString Caption(int ability) {
    return QString::fromUtf8(BasicAbilityFields[ability].Caption);
}

void DrawMarker(QPainter& painter, const LineLook& look, QPointF at) {
    const double r = MarkerRadius;
    painter.setPen(QPen(look.Color, 1.5));
    painter.setBrush(look.Hollow ? QBrush(Qt::NoBrush) : QBrush(look.Color));
    switch (look.Shape) {
    case MarkerShape::Circle:
        painter.drawEllipse(at, r, r);
        return;
    case MarkerShape::Square:
        painter.drawRect(QRectF(at - QPointF(r, r), at + QPointF(r, r)));
        return;
    case MarkerShape::Triangle:
        painter.drawPolygon(
            QPolygonF{at + QPointF(0, -r - 1), at + QPointF(r + 1, r), at + QPointF(-r - 1, r)});
        return;
    case MarkerShape::Diamond:
        painter.drawPolygon(QPolygonF{at + QPointF(0, -r - 1), at + QPointF(r + 1, 0),
                                      at + QPointF(0, r + 1), at + QPointF(-r - 1, 0)});
        return;
    case MarkerShape::InvertedTriangle:
        painter.drawPolygon(
            QPolygonF{at + QPointF(0, r + 1), at + QPointF(r + 1, -r), at + QPointF(-r - 1, -r)});
        return;
    }
}

QPen LinePen(const LineLook& look) {
    QPen pen(look.Color, 2);
    if (look.Dashed)
        pen.setDashPattern({4, 2});
    return pen;
}

} // namespace

QString TrendTimeText(std::int64_t ms, bool withDate) {
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(ms).toLocalTime();
    return at.toString(withDate ? QStringLiteral("yyyy-MM-dd HH:mm:ss")
                                : QStringLiteral("HH:mm:ss"));
}

bool SpansDays(const std::vector<TrendPoint>& points) {
    return !points.empty() &&
           QDateTime::fromMSecsSinceEpoch(points.front().Ms).toLocalTime().date() !=
               QDateTime::fromMSecsSinceEpoch(points.back().Ms).toLocalTime().date();
}

TrendAxes AxesFor(const std::vector<TrendPoint>& points, ShownAbilities shown) {
    TrendAxes axes;
    if (points.empty())
        return axes;
    axes.FirstMs = points.front().Ms;
    axes.LastMs = points.back().Ms;
    int least = std::numeric_limits<int>::max(), greatest = std::numeric_limits<int>::min();
    for (const TrendPoint& point : points)
        for (int ability = 0; ability < BasicAbilityCount; ++ability)
            if (shown[ability]) {
                least = std::min(least, point.Values[ability]);
                greatest = std::max(greatest, point.Values[ability]);
            }
    if (least > greatest)
        return axes;
    axes.Least = least / 10 * 10;
    axes.Greatest = std::max(axes.Least + 10, (greatest + 9) / 10 * 10);
    return axes;
}

QPointF TrendChartPoint(const QRectF& plot, const TrendAxes& axes, std::int64_t ms, int value) {
    const double across = axes.LastMs > axes.FirstMs
                              ? static_cast<double>(ms - axes.FirstMs) /
                                    static_cast<double>(axes.LastMs - axes.FirstMs)
                              : 0.5;
    const double up = static_cast<double>(value - axes.Least) / (axes.Greatest - axes.Least);
    return {plot.left() + across * plot.width(), plot.bottom() - up * plot.height()};
}

std::vector<int> ValueTicks(const TrendAxes& axes) {
    int step = 5;
    for (const int wider : {10, 20, 50, 100})
        if ((axes.Greatest - axes.Least) / step > 7)
            step = wider;
    std::vector<int> ticks;
    for (int value = (axes.Least + step - 1) / step * step; value <= axes.Greatest; value += step)
        ticks.push_back(value);
    return ticks;
}

LineLook TrendLineLook(int ability, QColor background) {
    LineLook look{QColor(LineColors[ability]), Shapes[ability % 5], ability >= 5, ability >= 5};
    // Lines are graphics: 3:1 against the background is the least that reads.
    const bool dark = background.lightness() < 128;
    for (int step = 0; step < 20 && ContrastRatio(look.Color, background) < 3; ++step)
        look.Color = dark ? look.Color.lighter(120) : look.Color.darker(120);
    if (dark && ContrastRatio(look.Color, background) < 3)
        look.Color = look.Color.lighter(200);
    return look;
}

TTrendPlot::TTrendPlot(QWidget* parent) : QWidget(parent) {
    setObjectName("TrendPlot");
    setAccessibleName(QString::fromUtf8("推移チャート"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(360, 220);
    shown_.set();
}

void TTrendPlot::SetPoints(std::vector<TrendPoint> points) {
    points_ = std::move(points);
    withDate_ = SpansDays(points_);
    axes_ = AxesFor(points_, shown_);
    Describe();
    update();
}

void TTrendPlot::SetShown(ShownAbilities shown) {
    shown_ = shown;
    axes_ = AxesFor(points_, shown_);
    update();
}

// For a screen reader: where each ability started and where it is now.
void TTrendPlot::Describe() {
    QStringList sums;
    if (!points_.empty())
        for (int ability = 0; ability < BasicAbilityCount; ++ability) {
            const int first = points_.front().Values[ability];
            const int last = points_.back().Values[ability];
            sums << QString::fromUtf8("%1 %2 → %3 (%4)")
                        .arg(Caption(ability))
                        .arg(first)
                        .arg(last)
                        .arg(QString::fromStdString(SignedText(last - first)));
        }
    setAccessibleDescription(sums.join(QString::fromUtf8("、")));
}

QRectF TTrendPlot::PlotArea() const {
    const QFontMetrics metrics = fontMetrics();
    const double left = metrics.height() + metrics.horizontalAdvance(QStringLiteral("0000")) + 8;
    const double bottom = 2 * metrics.height() + 8;
    const double right = metrics.horizontalAdvance(QStringLiteral("0")) + MarkerRadius + 2;
    return QRectF(rect()).adjusted(left, metrics.height() / 2.0 + 4, -right, -bottom);
}

void TTrendPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot = PlotArea();
    DrawAxes(painter, plot);
    for (int ability = 0; ability < BasicAbilityCount; ++ability)
        if (shown_[ability])
            DrawLine(painter, plot, ability);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TTrendPlot::DrawAxes(QPainter& painter, const QRectF& plot) const {
    const QPalette& colors = palette();
    const QFontMetrics metrics = fontMetrics();
    const QColor text = colors.color(QPalette::WindowText);
    for (const int value : ValueTicks(axes_)) {
        const double y = TrendChartPoint(plot, axes_, 0, value).y();
        painter.setPen(QPen(colors.color(QPalette::Mid), 1, Qt::DotLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(text);
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, plot.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(value));
    }
    painter.setPen(text);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    // The time of the first and the last version, and up to three between them as the width
    // allows; the labels at the ends stay inside the chart.
    if (!points_.empty()) {
        const double labelWidth =
            metrics.horizontalAdvance(TrendTimeText(axes_.FirstMs, withDate_));
        const int fitting = static_cast<int>(plot.width() / (labelWidth + 16)) + 1;
        const int marks = axes_.LastMs > axes_.FirstMs ? std::clamp(fitting, 2, 5) : 1;
        for (int mark = 0; mark < marks; ++mark) {
            const std::int64_t ms =
                marks == 1 ? axes_.FirstMs
                           : axes_.FirstMs + (axes_.LastMs - axes_.FirstMs) * mark / (marks - 1);
            const QString label = TrendTimeText(ms, withDate_);
            const double x = TrendChartPoint(plot, axes_, ms, axes_.Least).x();
            const double width = metrics.horizontalAdvance(label);
            const double left =
                std::clamp(x - width / 2, 0.0, std::max(0.0, this->width() - width));
            painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
            painter.drawText(QRectF(left, plot.bottom() + 4, width, metrics.height()),
                             Qt::AlignCenter, label);
        }
    }
    const QRectF timeTitle(plot.left(), plot.bottom() + 4 + metrics.height(), plot.width(),
                           metrics.height());
    painter.drawText(timeTitle, Qt::AlignCenter, QString::fromUtf8("読込時刻"));
    // The value axis's title, upright along it.
    painter.save();
    painter.translate(metrics.height() / 2.0 + 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRectF(-plot.height() / 2, -metrics.height() / 2.0, plot.height(), metrics.height()),
        Qt::AlignCenter, QString::fromUtf8("値"));
    painter.restore();
}

void TTrendPlot::DrawLine(QPainter& painter, const QRectF& plot, int ability) {
    const LineLook look = TrendLineLook(ability, palette().color(QPalette::Window));
    line_.clear();
    for (const TrendPoint& point : points_)
        line_ << TrendChartPoint(plot, axes_, point.Ms, point.Values[ability]);
    painter.setPen(LinePen(look));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line_);
    // Markers where there is room for them, always at the newest version.
    std::optional<QPointF> lastMarker;
    for (qsizetype n = line_.size() - 1; n >= 0; --n) {
        const QPointF at = line_[n];
        if (lastMarker && std::abs(lastMarker->x() - at.x()) < MarkerSpacing)
            continue;
        DrawMarker(painter, look, at);
        lastMarker = at;
    }
}

std::optional<std::pair<int, std::size_t>> TTrendPlot::PointNear(QPointF at) const {
    const QRectF plot = PlotArea();
    std::optional<std::pair<int, std::size_t>> nearest;
    double best = NearEnough * NearEnough;
    for (std::size_t n = 0; n < points_.size(); ++n)
        for (int ability = 0; ability < BasicAbilityCount; ++ability) {
            if (!shown_[ability])
                continue;
            const QPointF point =
                TrendChartPoint(plot, axes_, points_[n].Ms, points_[n].Values[ability]);
            const QPointF apart = point - at;
            const double distance = QPointF::dotProduct(apart, apart);
            if (distance <= best) {
                best = distance;
                nearest = std::pair(ability, n);
            }
        }
    return nearest;
}

void TTrendPlot::mouseMoveEvent(QMouseEvent* event) {
    const auto near = PointNear(event->position());
    if (!near) {
        QToolTip::hideText();
        return;
    }
    const TrendPoint& point = points_[near->second];
    QToolTip::showText(event->globalPosition().toPoint(),
                       QString::fromUtf8("%1 %2\n%3")
                           .arg(Caption(near->first))
                           .arg(point.Values[near->first])
                           .arg(TrendTimeText(point.Ms, withDate_)),
                       this);
}

void TTrendPlot::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        emit CopyRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

TTrendChart::TTrendChart(QWidget* parent) : QWidget(parent), plot_(new TTrendPlot(this)) {
    setObjectName("TrendChart");
    setAutoFillBackground(true);
    auto* layout = new QGridLayout(this);
    for (int ability = 0; ability < BasicAbilityCount; ++ability) {
        auto* entry = new QCheckBox(Caption(ability), this);
        entry->setObjectName(QStringLiteral("Legend%1").arg(ability));
        entry->setChecked(true);
        layout->addWidget(entry, ability / 5, ability % 5);
        legend_[ability] = entry;
        connect(entry, &QCheckBox::toggled, this, [this] {
            ShownAbilities shown;
            for (int n = 0; n < BasicAbilityCount; ++n)
                shown[n] = legend_[n]->isChecked();
            plot_->SetShown(shown);
        });
    }
    layout->addWidget(plot_, 2, 0, 1, 5);
    layout->setRowStretch(2, 1);
    connect(plot_, &TTrendPlot::CopyRequested, this,
            [this] { RunHandler(this, [this] { CopyImage(); }); });
    UpdateLegendIcons();
}

void TTrendChart::CopyImage() {
    QApplication::clipboard()->setImage(grab().toImage());
}

// The legend's icons follow the theme, as the lines do.
void TTrendChart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        UpdateLegendIcons();
}

void TTrendChart::UpdateLegendIcons() {
    const qreal scale = devicePixelRatioF();
    for (int ability = 0; ability < BasicAbilityCount; ++ability) {
        const LineLook look = TrendLineLook(ability, palette().color(QPalette::Window));
        QPixmap icon(QSize(28, 12) * scale);
        icon.setDevicePixelRatio(scale);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(LinePen(look));
        painter.drawLine(QPointF(1, 6), QPointF(27, 6));
        DrawMarker(painter, look, QPointF(14, 6));
        painter.end();
        legend_[ability]->setIcon(QIcon(icon));
        legend_[ability]->setIconSize(QSize(28, 12));
    }
}
