// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QGroupBox>

// A group box whose frame's top line runs through the middle of its caption, as the detail
// window's layout assumes: its controls stand from just below the caption. Qt's own styles
// differ (Fusion draws the caption above the frame and the line a whole text line lower,
// through those controls), so the box draws itself the same way under every style.
class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};
