// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseListModel.h"

#include <algorithm>
#include <utility>

void THorseListModel::MakeRows(const TDM_HorseStatus& table, std::vector<Row>& rows,
                               std::vector<int>& indexes) const {
    rows.reserve(RecordCount);
    // A text equal to the one above it shares that row's string, so that the texts every row
    // has alike ("？", "？/？") are held once rather than made anew for each horse.
    HorseRowTexts above;
    for (int i = 0; i < RecordCount; ++i) {
        if (table.Registered[i] != 1)
            continue;
        HorseRowTexts texts = HorseRow(table, i);
        Row row;
        for (int column = 0; column < HorseRowColumnCount; ++column)
            row[column] = !rows.empty() && texts[column] == above[column]
                              ? rows.back()[column]
                              : QString::fromStdString(texts[column]);
        rows.push_back(std::move(row));
        indexes.push_back(i);
        above = std::move(texts);
    }
}

void THorseListModel::Fill(const TDM_HorseStatus& table) {
    std::vector<Row> rows;
    std::vector<int> indexes;
    MakeRows(table, rows, indexes);
    Reset(std::move(rows), std::move(indexes));
}

void THorseListModel::Reset(std::vector<Row> rows, std::vector<int> indexes) {
    beginResetModel();
    rows_ = std::move(rows);
    slots_ = std::move(indexes);
    endResetModel();
}

bool THorseListModel::Update(const TDM_HorseStatus& table) {
    std::vector<Row> rows;
    std::vector<int> indexes;
    MakeRows(table, rows, indexes);
    if (indexes != slots_) {
        Reset(std::move(rows), std::move(indexes));
        return true;
    }
    rows_ = std::move(rows);
    if (!rows_.empty()) {
        const int last = rowCount() - 1;
        emit dataChanged(index(0, 0), index(last, HorseRowColumnCount - 1));
        emit headerDataChanged(Qt::Vertical, 0, last);
    }
    return false;
}

std::optional<int> THorseListModel::RowOfSlot(int slot) const {
    const auto found = std::lower_bound(slots_.begin(), slots_.end(), slot);
    if (found == slots_.end() || *found != slot)
        return std::nullopt;
    return static_cast<int>(found - slots_.begin());
}

int THorseListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int THorseListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : HorseRowColumnCount;
}

QVariant THorseListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    // Every cell offers its whole text as a tip; the view shows it only where the column
    // cuts the text off.
    case Qt::ToolTipRole:
        return rows_[index.row()][index.column()];
    default:
        return {};
    }
}

bool THorseListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || index.column() != 0 ||
        role != Qt::EditRole)
        return false;
    rows_[index.row()][0] = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole});
    emit headerDataChanged(Qt::Vertical, index.row(), index.row());
    return true;
}

Qt::ItemFlags THorseListModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() && index.column() == 0 ? flags | Qt::ItemIsEditable : flags;
}

QVariant THorseListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= HorseRowColumnCount)
            return {};
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(HorseListCaptions[section]);
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }
    // The rows' header is hidden but still read out by screen readers: it names the row by
    // its caption, never by its position.
    if (role == Qt::DisplayRole && section >= 0 && section < rowCount())
        return rows_[section][0];
    return {};
}
