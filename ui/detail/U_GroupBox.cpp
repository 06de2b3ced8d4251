// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_GroupBox.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int CaptionLeft = 8; // from the box's left edge to the gap in the line
constexpr int CaptionGap = 2;  // the line stops this short of the caption on either side

} // namespace

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect caption(CaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * CaptionGap,
                        metrics.height());
    // An etched frame, a dark line beside a light one, in the palette's own shades; the top
    // line is left out behind the caption.
    painter.setClipRegion(QRegion(rect()) - QRegion(caption));
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true);
    painter.setClipping(false);
    style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}
