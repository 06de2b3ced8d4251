// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_FileFollower.h"
#include "U_HorseHistory.h"

#include <QAbstractTableModel>
#include <QMainWindow>
#include <QObject>
#include <QString>

#include <array>
#include <string>
#include <vector>

class QLabel;
class TListSide;
class TReportView;
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
    TReportView* Table() const { return view_; }

private:
    const THorseHistory& history_;
    std::string path_;
    int slot_ = 0;
    HorseIdentity horse_;
    TTrendModel* model_;
    TReportView* view_;
    TTrendChart* chart_;
    QLabel* notice_;
};

// The history of every version the follower publishes, from the first one, for the 推移 window.
class TTrendRecorder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void Record(const TFileFollower::Version& version);
    const THorseHistory& History() const { return history_; }
    // The file of the version recorded last: the file whose horses the list shows.
    const QString& Path() const { return path_; }

signals:
    void Recorded();

private:
    THorseHistory history_;
    QString path_;
    std::string pathUtf8_;
};

// Adds 推移(&G), Ctrl+G, also in the 能力表's context menu, for the horse chosen there or in the
// list, and the history it shows, which records every version the list shows from now on. The
// window is made the first time the command runs.
void AddTrendCommand(TListSide& side);
