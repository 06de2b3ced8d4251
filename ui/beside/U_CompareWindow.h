// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_Comparison.h"

#include <QAbstractTableModel>
#include <QMainWindow>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QLabel;
class TFileFollower;
class TReportView;

// The rows of the comparison of horse A with horse B: 項目, A's text, B's text, 差.
class TCompareModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Both horses' rows from `table`, or none.
    void Fill(const TDM_HorseStatus& table, int a, int b);
    void Clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<ComparisonRow> rows_;
    QString nameA_, nameB_;
};

// The ten basic abilities of two horses as a radar chart: an axis per ability, from its least
// value at the centre to its greatest at the rim, each horse a polygon in its colour, and a
// legend. Drawn with QPainter alone.
class TAbilityChart : public QWidget {
    Q_OBJECT
public:
    explicit TAbilityChart(QWidget* parent = nullptr);

    struct Horse {
        QString Name;
        std::array<std::int32_t, BasicAbilityCount> Values;
    };
    // Both horses, or none to draw the empty axes.
    void SetHorses(std::optional<std::array<Horse, 2>> horses);
    // The colour of horse A (0) or B (1).
    static QColor HorseColor(int horse);

    QSize sizeHint() const override { return {360, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<std::array<Horse, 2>> horses_;
};

// Two horses side by side: the comparison's rows and the chart. Follows the file, and says so
// when a horse's slot is no longer listed or holds another horse.
class TCompareWindow : public QMainWindow {
    Q_OBJECT
public:
    TCompareWindow(TFileFollower& follower, QWidget* parent);

    void SetHorses(int a, int b);
    // The two horses' values as the horse table holds them now; nothing while closed.
    void Refresh();
    int HorseA() const { return a_; }
    int HorseB() const { return b_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Update();

    int a_ = 0, b_ = 0;
    QString nameA_, nameB_; // as last listed, for the notice of a slot gone or taken over
    QStringList replaced_;  // the horses that came to a compared slot since it was chosen
    TCompareModel* model_;
    TReportView* view_;
    TAbilityChart* chart_;
    QLabel* notice_;
};
