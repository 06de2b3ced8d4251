// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>

#include <functional>

class QTableView;

// Keeps the first `count` columns of a table in sight when it is scrolled sideways: a second
// view over the table's left edge shows them, with the same model, selection, rows and widths.
// It takes no focus: the keyboard stays with the table, and a screen reader reads the table. It
// is made the first time the table is scrolled sideways, and shown only while it is, so that a
// table never scrolled pays nothing for it.
class TFrozenColumns : public QObject {
    Q_OBJECT
public:
    // `headerClicked` is told of a click on the frozen columns' header, which sorts as the
    // table's would.
    TFrozenColumns(QTableView& view, int count, std::function<void(int column)> headerClicked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Scrolled(int across);
    void Make();
    void ShowOnlyFrozen();
    void Place();

    QTableView& view_;
    QTableView* frozen_ = nullptr;
    int count_;
    std::function<void(int column)> headerClicked_;
};
