// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_WindowOpener.h"

#include <QAction>

void BringUp(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

void CloseOnEscape(QWidget& window) {
    auto* close = new QAction(&window);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    QObject::connect(close, &QAction::triggered, &window, &QWidget::close);
    window.addAction(close);
}
