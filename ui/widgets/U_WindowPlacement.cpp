// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_WindowPlacement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace {

// The largest rectangles of `room` that overlap none of `taken`; they may overlap each other.
QList<QRect> FreeAreas(const QRect& room, const QList<QRect>& taken) {
    QList<QRect> free{room};
    for (const QRect& obstacle : taken) {
        QList<QRect> pieces;
        for (const QRect& area : free) {
            if (!area.intersects(obstacle)) {
                pieces << area;
                continue;
            }
            if (obstacle.left() > area.left())
                pieces << QRect(area.topLeft(), QPoint(obstacle.left() - 1, area.bottom()));
            if (obstacle.right() < area.right())
                pieces << QRect(QPoint(obstacle.right() + 1, area.top()), area.bottomRight());
            if (obstacle.top() > area.top())
                pieces << QRect(area.topLeft(), QPoint(area.right(), obstacle.top() - 1));
            if (obstacle.bottom() < area.bottom())
                pieces << QRect(QPoint(area.left(), obstacle.bottom() + 1), area.bottomRight());
        }
        free.clear();
        for (qsizetype n = 0; n < pieces.size(); ++n) {
            const auto inside = [&](qsizetype other) {
                return other != n && pieces[other].contains(pieces[n]) &&
                       (pieces[other] != pieces[n] || other < n);
            };
            bool contained = false;
            for (qsizetype other = 0; other < pieces.size() && !contained; ++other)
                contained = inside(other);
            if (!contained)
                free << pieces[n];
        }
    }
    return free;
}

bool OnSide(const QRect& area, const QRect& list, Side side) {
    switch (side) {
    case Side::Right:
        return area.left() > list.right();
    case Side::Below:
        return area.top() > list.bottom();
    case Side::Left:
        return area.right() < list.left();
    case Side::Above:
        break;
    }
    return area.bottom() < list.top();
}

bool Fits(QSize size, const QRect& area) {
    return area.width() >= size.width() && area.height() >= size.height();
}

// At the list's top or left edge, moved into `area` as far as it must; `size` fits in it.
QRect PlacedIn(const QRect& area, QSize size, const QRect& list) {
    return {std::clamp(list.left(), area.left(), area.right() + 1 - size.width()),
            std::clamp(list.top(), area.top(), area.bottom() + 1 - size.height()), size.width(),
            size.height()};
}

qint64 Covered(const QRect& window, const QList<QRect>& others) {
    qint64 covered = 0;
    for (const QRect& other : others) {
        const QRect both = window & other;
        covered += qint64(both.width()) * both.height();
    }
    return covered;
}

// Where in `area` a window of `size` covers the least of `others`: beside the list's edge, or
// against the edge of the area or of another window.
QRect LeastCovering(const QRect& area, QSize size, const QRect& list, const QList<QRect>& others) {
    const QRect first = PlacedIn(area, size, list);
    QList<int> xs{first.x(), area.left(), area.right() + 1 - size.width()};
    QList<int> ys{first.y(), area.top(), area.bottom() + 1 - size.height()};
    for (const QRect& other : others) {
        xs << other.right() + 1 << other.left() - size.width();
        ys << other.bottom() + 1 << other.top() - size.height();
    }
    QRect best = first;
    qint64 least = Covered(first, others);
    for (const int x : xs)
        for (const int y : ys) {
            const QRect candidate(x, y, size.width(), size.height());
            if (!area.contains(candidate))
                continue;
            if (const qint64 covered = Covered(candidate, others); covered < least) {
                least = covered;
                best = candidate;
            }
        }
    return best;
}

// The area where most of a window of `size` shows, among those that take `least`.
std::optional<QRect> Roomiest(const QList<QRect>& areas, QSize size, QSize least) {
    std::optional<QRect> roomiest;
    qint64 shown = -1;
    for (const QRect& area : areas) {
        if (!Fits(least, area))
            continue;
        const QSize part = size.boundedTo(area.size());
        if (qint64(part.width()) * part.height() > shown) {
            shown = qint64(part.width()) * part.height();
            roomiest = area;
        }
    }
    return roomiest;
}

} // namespace

QRect PlacedBeside(QSize size, QSize least, const QRect& list, const QRect& screen,
                   const SideOrder& sides, const QList<QRect>& others) {
    const QList<QRect> clear = FreeAreas(screen, QList<QRect>{list} + others);
    const QList<QRect> open = FreeAreas(screen, {list});
    const auto shrunkInto = [&](const QRect& area) {
        return PlacedIn(area, size.boundedTo(area.size()), list);
    };
    for (const Side side : sides)
        for (const QRect& area : clear)
            if (OnSide(area, list, side) && Fits(size, area))
                return PlacedIn(area, size, list);
    if (const std::optional<QRect> area = Roomiest(clear, size, least))
        return shrunkInto(*area);
    for (const Side side : sides)
        for (const QRect& area : open)
            if (OnSide(area, list, side) && Fits(size, area))
                return LeastCovering(area, size, list, others);
    for (const QList<QRect>* areas : {&clear, &open})
        if (const std::optional<QRect> area = Roomiest(*areas, size, {1, 1}))
            return shrunkInto(*area);
    return {list.topLeft(), size}; // no room beside the list at all
}

void PlaceBeside(QWidget& window, const QWidget& beside, const SideOrder& sides) {
    const QScreen* screen = beside.screen();
    if (screen == nullptr)
        return;
    QList<QRect> others;
    for (const QObject* child : beside.children()) {
        const auto* other = qobject_cast<const QWidget*>(child);
        if (other != nullptr && other != &window && other->isWindow() && other->isVisible())
            others << other->frameGeometry();
    }
    // A new window has no frame yet: it will have one as large as the list's window's.
    const QSize frame = beside.frameGeometry().size() - beside.geometry().size();
    const QSize size = window.size() + frame;
    const QRect placed =
        PlacedBeside(size, window.minimumSizeHint() + frame, beside.frameGeometry(),
                     screen->availableGeometry(), sides, others);
    const QSize inside = placed.size() - frame;
    // Smaller than its layout would have it where the room allows no more: whole on the
    // screen rather than cut off by its edge.
    const QSize least = window.minimumSizeHint();
    if (inside.width() < least.width() || inside.height() < least.height())
        window.setMinimumSize(inside.boundedTo(least));
    window.resize(inside);
    window.move(placed.topLeft());
}
