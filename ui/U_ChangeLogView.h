// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QTableView>

class QAction;
class QMenu;

// The rows of the 変更点 window, with the horse list's keys for them: Ctrl+C copies the
// selected rows and Ctrl+Shift+C every row, each with the captions first; both copies are also
// in its context menu, which the right button, the Menu key and Shift+F10 open.
class TChangeLogView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void CopySelectedRows() const;
    void CopyAllRows() const;

    QMenu* contextMenu_ = nullptr; // made on first use
    QAction* copyRows_ = nullptr;  // greyed with no row selected
};
