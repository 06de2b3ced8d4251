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
// a column per field of stallark-dump --fields, and while there is a 評価式 its 評価 after
// 馬名. The texts are made once per change.
class TAbilityTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    using Row = std::array<QString, SlotStateField>;

    // The rows anew from `table`, keeping the filter and the order; views see one reset.
    void Refresh(const TDM_HorseStatus& table);
    // A text that does not parse leaves the rows as they are and gives why.
    std::optional<InputError> SetFilter(const QString& text);
    // The 評価 column after 馬名 while `text` is an expression, none while it is empty.
    std::optional<InputError> SetScore(const QString& text);
    // The column of 評価, -1 when it is not shown.
    int ScoreColumn() const { return score_ ? NameField + 1 : -1; }
    // The column the rows are sorted by, -1 in ID order.
    int SortColumn() const;
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
    // The field of HorseFields a column shows; none for 評価.
    std::optional<int> FieldOfColumn(int column) const;
    QVariant ScoreData(int row, int role) const;

    const TDM_HorseStatus* table_ = nullptr;
    TableFilter filter_;
    std::string filterText_; // the last that parsed, read again with a new 評価式
    TableSort sort_;
    std::optional<ScoreExpression> score_;
    QString scoreText_;
    std::vector<int> shown_;
    std::vector<Row> rows_;
    std::vector<std::optional<double>> scores_; // of the rows shown, while there is a 評価式
    std::vector<QString> scoreTexts_;
    std::optional<std::array<std::int32_t, BasicAbilityCount>> best_;
    std::optional<double> bestScore_;
    std::array<qsizetype, SlotStateField> longest_{}; // each column's longest text, in characters
    qsizetype longestScore_ = 0;
    bool widened_ = false;
};

// The table's view: a report view with several rows selectable; Enter asks for the current
// horse's detail window, Ctrl+S sorts by the current cell's column as a click on its header
// does, and Ctrl+K asks for the comparison even when it cannot be made, to hear why.
class TAbilityTableView : public TReportView {
    Q_OBJECT
public:
    using TReportView::TReportView;
    // 評価 is copied as 評価 (its expression), so that the copy says how it was worked out.
    QString CopiedCaption(int column) const override;

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
    void ChangeScore(const QString& text);

    TListSide& side_;
    bool fitted_ = false; // the columns fitted to their texts, when first shown
    TAbilityTableModel* model_;
    TAbilityTableView* view_;
    QLineEdit* filter_;
    QLabel* filterError_;
    QLineEdit* score_;
    QLabel* scoreError_;
    QAction* compareAction_;
};

// Adds 能力表(&T), Ctrl+T; the window is made when first asked for, and from then on follows
// every version the list shows.
void AddAbilityTableCommand(TListSide& side);
