// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseHistory.h"

#include <QAbstractTableModel>
#include <QMainWindow>
#include <QString>

#include <array>
#include <vector>

class QLabel;
class THorseListView;
class TTrendChart;

// 時刻, the ten abilities and 距離適性.
inline constexpr int TrendColumnCount = BasicAbilityCount + 2;

// The versions in which a horse's values differ from the version before, newest on top; each
// value that changed is followed by its difference from the row below, as `141 (+21)`.
class TTrendModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Fill(const std::vector<TrendPoint>& points);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<std::array<QString, TrendColumnCount>> rows_; // newest first
};

// 推移: how one horse of one file grew, as a chart of the ten abilities over the versions read
// and a table of the versions that changed it. It shows the history it is given and, told that
// a version was recorded, adds it; once the slot holds another horse it keeps what it showed
// and says so. One window serves every horse: choosing another shows that one in it.
class TTrendWindow : public QMainWindow {
    Q_OBJECT
public:
    TTrendWindow(const THorseHistory& history, QWidget* parent);

    // Shows the horse that `slot` of `path` holds now.
    void ShowHorse(const QString& path, int slot);
    // A version was recorded: the horse's new point and row, if it is still in its slot.
    void Recorded();

    TTrendChart* Chart() const { return chart_; }
    THorseListView* Table() const { return view_; }

private:
    const THorseHistory& history_;
    std::string path_;
    int slot_ = 0;
    HorseIdentity horse_;
    TTrendModel* model_;
    THorseListView* view_;
    TTrendChart* chart_;
    QLabel* notice_;
};
