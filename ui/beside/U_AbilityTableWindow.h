// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_ReportView.h"
#include "U_TableQuery.h"

#include <QAbstractTableModel>
#include <QMainWindow>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class TCompareWindow;
class TListSide;

// The ability table's rows: one per listed horse that the filter keeps, in the chosen order,
// a column per field of stallark-dump --fields. The texts are made once per change.
class TAbilityTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    using Row = std::array<QString, SlotStateField>;

    // The rows anew from `table`, keeping the filter and the order; views see one reset.
    void Refresh(const TDM_HorseStatus& table);
    void SetFilter(const QString& text);
    int SlotOfRow(int row) const { return shown_[static_cast<std::size_t>(row)]; }
    std::optional<int> RowOfSlot(int slot) const;
    bool Marked(const QModelIndex& index) const;
    // Whether the last change made a column's longest text longer: its width is fitted again.
    bool Widened() const { return widened_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // A column below 0 goes back to ID order.
    void sort(int column, Qt::SortOrder order) override;

private:
    void Rebuild();

    const TDM_HorseStatus* table_ = nullptr;
    TableFilter filter_;
    TableSort sort_;
    std::vector<int> shown_;
    std::vector<Row> rows_;
    std::optional<std::array<std::int32_t, BasicAbilityCount>> best_;
    std::array<qsizetype, SlotStateField> longest_{}; // each column's longest text, in characters
    bool widened_ = false;
};

// The table's view: a report view with several rows selectable; Enter asks for the current
// horse's detail window, Ctrl+S sorts by the current cell's column as a click on its header
// does, and Ctrl+K asks for the comparison even when it cannot be made, to hear why.
class TAbilityTableView : public TReportView {
    Q_OBJECT
public:
    using TReportView::TReportView;

signals:
    void SortRequested(int column);
    void DetailRequested();
    void CompareRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Every listed horse side by side, the best of each basic ability marked. Follows the file as
// the list does, and opens the comparison of two selected horses.
class TAbilityTableWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TAbilityTableWindow(TListSide& side);

    // The rows from the horse table as it is now, keeping the sort, the filter, the selected
    // horses, the current cell and the scroll; nothing while the window is closed.
    void Refresh();
    // Sorts by `column` as a click on its header does: a new column highest first (texts in
    // kana order), the same one reversed.
    void SortBy(int column);
    TAbilityTableView* View() const { return view_; }
    // The comparison, once it has been opened.
    TCompareWindow* CompareWindow() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void KeepingPlace(const std::function<void()>& change);
    void ShowDetail();
    void OpenComparison();
    void UpdateTitle();
    bool FilterKey(const QKeyEvent& key);

    TListSide& side_;
    TAbilityTableModel* model_;
    TAbilityTableView* view_;
    QLineEdit* filter_;
    QAction* compareAction_;
};

// Adds 能力表(&T), Ctrl+T; the window is made when first asked for, and from then on follows
// every version the list shows.
void AddAbilityTableCommand(TListSide& side);
