// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseRow.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The rows of the horse list: per listed horse its caption and seven texts in column order.
// The texts are made once per load, so that drawing the list only hands out ready strings.
class THorseListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Row = std::array<QString, HorseRowColumnCount>;

    using QAbstractTableModel::QAbstractTableModel;

    // Replaces every row at once by one per horse whose slot state is exactly 1, in ascending
    // horse index; views see one reset.
    void Fill(const TDM_HorseStatus& table);
    // The same rows as Fill; when the same slots are listed as before, the texts are replaced
    // in place, so that views keep their selection, current row and scroll position. Returns
    // true when the rows were reset instead.
    bool Update(const TDM_HorseStatus& table);

    // The horse index a row came from, whatever its caption has been typed over with; and the
    // row of a horse index, if it is listed.
    int SlotOfRow(int row) const { return slots_[static_cast<std::size_t>(row)]; }
    std::optional<int> RowOfSlot(int slot) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Only the caption can be typed over, and whatever is typed replaces it unchecked.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void MakeRows(const TDM_HorseStatus& table, std::vector<Row>& rows,
                  std::vector<int>& indexes) const;
    void Reset(std::vector<Row> rows, std::vector<int> indexes);

    std::vector<Row> rows_;
    std::vector<int> slots_;
};
