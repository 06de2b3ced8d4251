// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ReadableToolTips.h"

#include "U_ColorContrast.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>

namespace {

constexpr double LeastReadableContrast = 4.5;

// Gives the tooltip black or white text, whichever stands out more, in each colour group whose
// text is too faint against the background.
void MakeReadable(QWidget* tip) {
    QPalette palette = tip->palette();
    bool changed = false;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QColor background = palette.color(group, tip->backgroundRole());
        if (ContrastRatio(palette.color(group, tip->foregroundRole()), background) >=
            LeastReadableContrast)
            continue;
        const QColor black(Qt::black);
        const QColor white(Qt::white);
        palette.setColor(
            group, tip->foregroundRole(),
            ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white);
        changed = true;
    }
    if (changed)
        tip->setPalette(palette);
}

// A tooltip's palette is looked at before the style polishes the tooltip (the palette it is
// made with) and at every change after (what the style sets, a palette the desktop changes),
// so that no frame of it, nor of a fade-in, is painted with faint text.
class TToolTipContrastKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Polish || event->type() == QEvent::PaletteChange) &&
            watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->windowType() == Qt::ToolTip)
                MakeReadable(widget);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void KeepToolTipsReadable() {
    qApp->installEventFilter(new TToolTipContrastKeeper(qApp));
}
