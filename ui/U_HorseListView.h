// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QTableView>

// The horse list's view with the list's own keys: Enter asks for the selected horse's detail
// window, F2 edits its caption, Ctrl+C copies the whole selected row. A cell cut off by its
// column shows its whole text as a tip.
class THorseListView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    void reset() override;

signals:
    // Enter on the list, unless it ends the editing of a caption.
    void DetailRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void CopySelectedRow() const;
    bool ShowsWholeText(const QModelIndex& index) const;
};
