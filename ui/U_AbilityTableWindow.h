// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseListView.h"
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
class TMainForm;

// How a best value is marked, in the ability table and in the comparison: bold, on a
// background that keeps its text at 4.5:1 or more, light or dark as the theme's base is.
QVariant MarkedCellData(int role, const QString& description);
inline constexpr const char* BestValueDescription = "最高値";

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
};

// The table's view: the list's keys and menu, several rows selectable, and Ctrl+S sorting by
// the current cell's column as a click on its header does.
class TAbilityTableView : public THorseListView {
    Q_OBJECT
public:
    using THorseListView::THorseListView;

signals:
    void SortRequested(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Every listed horse side by side, the best of each basic ability marked. Follows the main
// window's list, and opens the comparison of two selected horses.
class TAbilityTableWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TAbilityTableWindow(QWidget* parent);

    // The rows from the horse table as it is now, keeping the sort, the filter, the selected
    // horses, the current cell and the scroll; nothing while the window is closed.
    void Refresh();
    // Sorts by `column` as a click on its header does: a new column highest first (texts in
    // kana order), the same one reversed.
    void SortBy(int column);
    TAbilityTableView* View() const { return view_; }
    TCompareWindow* CompareWindow() const { return compare_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void KeepingPlace(const std::function<void()>& change);
    void ShowDetail();
    void OpenComparison();
    void UpdateTitle();

    TAbilityTableModel* model_;
    TAbilityTableView* view_;
    QLineEdit* filter_;
    QAction* compareAction_;
    TCompareWindow* compare_ = nullptr; // made on first use
};

// Puts 能力表(&T), Ctrl+T, in the main window and in the list's context menu; the window is
// made when first asked for, and from then on follows every version the list shows.
void AddAbilityTableCommand(TMainForm& form, THorseListView& list);
