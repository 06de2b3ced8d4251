// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ViewPlace.h"

#include <QAbstractItemView>
#include <QScrollBar>

TViewPlace::TViewPlace(const QAbstractItemView& view, const SlotOfRow& slotOfRow) {
    for (const QModelIndex& row : view.selectionModel()->selectedRows())
        selected_.push_back(slotOfRow(row.row()));
    if (const QModelIndex current = view.currentIndex(); current.isValid()) {
        current_ = slotOfRow(current.row());
        column_ = current.column();
    }
    across_ = view.horizontalScrollBar()->value();
    down_ = view.verticalScrollBar()->value();
}

void TViewPlace::Restore(QAbstractItemView& view, const RowOfSlot& rowOfSlot) const {
    const QAbstractItemModel& model = *view.model();
    const int lastColumn = model.columnCount() - 1;
    QItemSelection selection;
    for (const int slot : selected_)
        if (const std::optional<int> row = rowOfSlot(slot))
            selection.select(model.index(*row, 0), model.index(*row, lastColumn));
    if (const std::optional<int> row = current_ ? rowOfSlot(*current_) : std::nullopt)
        view.selectionModel()->setCurrentIndex(model.index(*row, column_),
                                               QItemSelectionModel::NoUpdate);
    view.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    view.horizontalScrollBar()->setValue(across_);
    view.verticalScrollBar()->setValue(down_);
}
