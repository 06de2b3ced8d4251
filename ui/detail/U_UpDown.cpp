// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_UpDown.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

TUpDown::TUpDown(QWidget* parent) : QAbstractSlider(parent) {
    setOrientation(Qt::Vertical);
    setFocusPolicy(Qt::StrongFocus);
}

QRect TUpDown::ArrowRect(Arrow arrow) const {
    const int half = height() / 2;
    return arrow == Arrow::Up ? QRect(0, 0, width(), half)
                              : QRect(0, half, width(), height() - half);
}

TUpDown::Arrow TUpDown::ArrowAt(const QPoint& point) const {
    if (ArrowRect(Arrow::Up).contains(point))
        return Arrow::Up;
    if (ArrowRect(Arrow::Down).contains(point))
        return Arrow::Down;
    return Arrow::None;
}

void TUpDown::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    for (const Arrow arrow : {Arrow::Up, Arrow::Down}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = ArrowRect(arrow);
        button.state |= pressed_ == arrow ? QStyle::State_Sunken : QStyle::State_Raised;
        painter.drawPrimitive(QStyle::PE_PanelButtonBevel, button);
        button.rect.adjust(3, 2, -3, -2);
        painter.drawPrimitive(arrow == Arrow::Up ? QStyle::PE_IndicatorArrowUp
                                                 : QStyle::PE_IndicatorArrowDown,
                              button);
    }
    // The style draws the mark only once the keyboard has moved the focus, as on a button.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void TUpDown::keyPressEvent(QKeyEvent* event) {
    // Up and Down press the arrows as the mouse does, shown pressed while the key is held.
    const Arrow arrow = event->key() == Qt::Key_Up     ? Arrow::Up
                        : event->key() == Qt::Key_Down ? Arrow::Down
                                                       : Arrow::None;
    if (arrow == Arrow::None)
        return QAbstractSlider::keyPressEvent(event);
    pressed_ = arrow;
    triggerAction(arrow == Arrow::Up ? SliderSingleStepAdd : SliderSingleStepSub);
    update();
}

void TUpDown::keyReleaseEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && !event->isAutoRepeat()) {
        pressed_ = Arrow::None;
        update();
    }
    QAbstractSlider::keyReleaseEvent(event);
}

void TUpDown::focusOutEvent(QFocusEvent* event) {
    pressed_ = Arrow::None; // a key held while the focus leaves is never released here
    QAbstractSlider::focusOutEvent(event);
}

void TUpDown::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractSlider::mousePressEvent(event);
    pressed_ = ArrowAt(event->position().toPoint());
    if (pressed_ == Arrow::Up)
        triggerAction(SliderSingleStepAdd);
    else if (pressed_ == Arrow::Down)
        triggerAction(SliderSingleStepSub);
    update();
}

void TUpDown::mouseReleaseEvent(QMouseEvent* event) {
    pressed_ = Arrow::None;
    update();
    QAbstractSlider::mouseReleaseEvent(event);
}
