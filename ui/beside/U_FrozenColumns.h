// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>

class QHeaderView;
class QTableView;

// Keeps the first `count` columns of a table in sight when it is scrolled sideways: a second
// view over the table's left edge shows them, with the same model, selection, rows and widths.
// It takes no focus: the keyboard stays with the table, and a screen reader reads the table.
class TFrozenColumns : public QObject {
    Q_OBJECT
public:
    TFrozenColumns(QTableView& view, int count);

    // The header over the frozen columns; a click on it asks to sort as the table's would.
    QHeaderView* Header() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowOnlyFrozen();
    void Place();

    QTableView& view_;
    QTableView* frozen_;
    int count_;
};
