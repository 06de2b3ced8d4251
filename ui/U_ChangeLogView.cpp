// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ChangeLogView.h"

#include "U_ChangeLog.h"
#include "U_ErrorDisplay.h"
#include "U_HorseListView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

void TChangeLogView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelectedRows();
        return;
    }
    if (event->key() == Qt::Key_C &&
        event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        CopyAllRows();
        return;
    }
    if (IsContextMenuKey(*event)) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, {});
        contextMenuEvent(&menu);
        return;
    }
    QTableView::keyPressEvent(event);
}

void TChangeLogView::CopySelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QApplication::clipboard()->setText(static_cast<THorseChangeLog*>(model())->TsvText(rows));
}

void TChangeLogView::CopyAllRows() const {
    QList<int> rows;
    for (int row = 0; row < model()->rowCount(); ++row)
        rows << row;
    QApplication::clipboard()->setText(static_cast<THorseChangeLog*>(model())->TsvText(rows));
}

void TChangeLogView::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu_ == nullptr) {
        contextMenu_ = new QMenu(this);
        auto add = [this](const char* text, const QKeySequence& keys,
                          void (TChangeLogView::*copy)() const) {
            QAction* action = contextMenu_->addAction(QString::fromUtf8(text));
            // The keys are the view's own (keyPressEvent); the menu only shows them.
            action->setShortcut(keys);
            action->setShortcutVisibleInContextMenu(true);
            connect(action, &QAction::triggered, this,
                    [this, copy] { RunHandler(this, [this, copy] { (this->*copy)(); }); });
            return action;
        };
        copyRows_ = add("コピー(&C)", QKeySequence::Copy, &TChangeLogView::CopySelectedRows);
        add("すべての行をコピー(&A)", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
            &TChangeLogView::CopyAllRows);
    }
    copyRows_->setEnabled(!selectionModel()->selectedRows().isEmpty());
    contextMenu_->popup(ContextMenuPosition(*this, *event));
    event->accept();
}

void TChangeLogView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    // As the horse list does: the current cell is named once Qt has named the table.
    QMetaObject::invokeMethod(
        this, [this] { ReportCurrentCell(*this); }, Qt::QueuedConnection);
}
