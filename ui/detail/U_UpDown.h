// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractSlider>

// A pair of arrow buttons stacked on each other that step a value up and down, attached to
// no other control; the Up and Down keys press them too. Qt has no such stand-alone control;
// the spin box always brings a text field.
class TUpDown : public QAbstractSlider {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {16, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Arrow { None, Up, Down };
    Arrow ArrowAt(const QPoint& point) const;
    QRect ArrowRect(Arrow arrow) const;

    Arrow pressed_ = Arrow::None;
};
