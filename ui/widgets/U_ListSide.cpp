// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ListSide.h"

#include "U_ReportView.h"

#include <QAction>
#include <QWidget>

void TListSide::AddCommand(QAction* command) {
    commands_ << command;
    window_.addAction(command);
    list_.AddWindowAction(command);
    // Windows made before this command get its keys too.
    for (QObject* child : window_.children())
        if (auto* window = qobject_cast<QWidget*>(child); window != nullptr && window->isWindow())
            window->addAction(command);
}

void TListSide::TakeCommands(QWidget& window) const {
    window.addActions(commands_);
}
