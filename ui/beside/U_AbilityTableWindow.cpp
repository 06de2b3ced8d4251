// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_AbilityTableWindow.h"

#include "U_BestValueMarks.h"
#include "U_CompareWindow.h"
#include "U_ErrorDisplay.h"
#include "U_FileFollower.h"
#include "U_ListSide.h"
#include "U_ViewPlace.h"
#include "U_WindowOpener.h"

#include <QAction>
#include <QBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QStatusBar>

#include <algorithm>
#include <functional>

namespace {

// One line, unwrapped: a wrapped label costs the window's opening a third again.
const QString TableNote =
    QString::fromUtf8("太字で色付きの値は、表示中の馬でその能力の最高値です。"
                      "並べ替えは見出しのクリックか Ctrl+S で、もう一度で逆順になります。");

// The table is wide: to the list's right first, then below it.
constexpr SideOrder BesideTheList = {Side::Right, Side::Below, Side::Left, Side::Above};

} // namespace

void TAbilityTableModel::Refresh(const TDM_HorseStatus& table) {
    table_ = &table;
    Rebuild();
}

void TAbilityTableModel::SetFilter(const QString& text) {
    auto parsed = TableFilter::Parse(text.toStdString());
    if (auto* filter = std::get_if<TableFilter>(&parsed))
        filter_ = std::move(*filter);
    Rebuild();
}

void TAbilityTableModel::sort(int column, Qt::SortOrder order) {
    sort_ = column >= 0 && column < SlotStateField ? TableSort{column, order == Qt::DescendingOrder}
                                                   : TableSort{};
    Rebuild();
}

void TAbilityTableModel::Rebuild() {
    beginResetModel();
    rows_.clear();
    shown_.clear();
    best_.reset();
    if (table_ != nullptr) {
        shown_ = ShownHorses(*table_, filter_, sort_);
        best_ = BestAbilities(*table_, shown_);
        std::string text;
        for (const int slot : shown_) {
            Row& row = rows_.emplace_back();
            for (int field = 0; field < SlotStateField; ++field) {
                text.clear();
                AppendFieldText(text, *table_, field, slot);
                row[field] = QString::fromStdString(text);
            }
        }
    }
    widened_ = false;
    for (int field = 0; field < SlotStateField; ++field)
        for (const Row& row : rows_)
            if (row[field].size() > longest_[field]) {
                longest_[field] = row[field].size();
                widened_ = true;
            }
    endResetModel();
}

std::optional<int> TAbilityTableModel::RowOfSlot(int slot) const {
    const auto at = std::find(shown_.begin(), shown_.end(), slot);
    if (at == shown_.end())
        return std::nullopt;
    return static_cast<int>(at - shown_.begin());
}

bool TAbilityTableModel::Marked(const QModelIndex& index) const {
    const int ability = index.column() - FirstBasicAbilityField;
    return best_ && ability >= 0 && ability < BasicAbilityCount &&
           FieldValue(*table_, index.column(), SlotOfRow(index.row())) == (*best_)[ability];
}

int TAbilityTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TAbilityTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SlotStateField;
}

QVariant TAbilityTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return rows_[static_cast<std::size_t>(index.row())][index.column()];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(HorseFields[index.column()].Kind == FieldKind::Number
                                       ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
    if (Marked(index))
        return MarkedCellData(role, QString::fromUtf8(BestValueDescription));
    return {};
}

QVariant TAbilityTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The rows' header is hidden but read out by screen readers: it names each row by its
    // horse, as the 変更点 names its rows.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0 &&
        section < rowCount())
        return rows_[static_cast<std::size_t>(section)][0] + ' ' +
               rows_[static_cast<std::size_t>(section)][NameField];
    if (orientation != Qt::Horizontal || section < 0 || section >= SlotStateField)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(HorseFields[section].Caption);
    // The header's first click on a column: numbers highest first, texts in kana order.
    if (role == Qt::InitialSortOrderRole)
        return SortsHighestFirst(section) ? Qt::DescendingOrder : Qt::AscendingOrder;
    return {};
}

void TAbilityTableView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_S && event->modifiers() == Qt::ControlModifier &&
        currentIndex().isValid()) {
        emit SortRequested(currentIndex().column());
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit DetailRequested();
        return;
    }
    // Ctrl+K comes here only while the comparison's command is greyed.
    if (event->key() == Qt::Key_K && event->modifiers() == Qt::ControlModifier) {
        emit CompareRequested();
        return;
    }
    TReportView::keyPressEvent(event);
}

TAbilityTableWindow::TAbilityTableWindow(TListSide& side)
    : QMainWindow(&side.Window(), Qt::Window), side_(side), model_(new TAbilityTableModel(this)),
      view_(new TAbilityTableView(this)), filter_(new QLineEdit(this)),
      compareAction_(new QAction(QString::fromUtf8("比較(&V)"), this)) {
    setObjectName("AbilityTableWindow");
    auto* filterLabel = new QLabel(QString::fromUtf8("絞り込み(&F):"), this);
    filterLabel->setBuddy(filter_);
    filter_->setObjectName("FilterBox");
    filter_->setAccessibleName(QString::fromUtf8("絞り込み"));
    filter_->setPlaceholderText(
        QString::fromUtf8("馬名・父・母・アビリティ名、または距離 (2400 など)"));
    filter_->installEventFilter(this);
    auto* note = new QLabel(TableNote, this);
    note->setObjectName("MarkNote");

    view_->setObjectName("AbilityTable");
    view_->setAccessibleName(QString::fromUtf8("能力表"));
    view_->setModel(model_);
    view_->SetCopiesCaptions(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setMinimumSectionSize(1);
    // The header shows the order and takes clicks; the order is set here rather than by the
    // view, so that the selected horses stay selected.
    QHeaderView* header = view_->horizontalHeader();
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_, 1);
    auto* content = new QWidget(this);
    setCentralWidget(content);
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(filterRow);
    layout->addWidget(note);
    layout->addWidget(view_, 1);

    compareAction_->setObjectName("Compare1");
    compareAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    compareAction_->setEnabled(false);
    addAction(compareAction_);
    view_->AddWindowAction(compareAction_);

    auto handle = [this](void (TAbilityTableWindow::*handler)()) {
        return [this, handler] { RunHandler(this, [this, handler] { (this->*handler)(); }); };
    };
    connect(compareAction_, &QAction::triggered, this,
            handle(&TAbilityTableWindow::OpenComparison));
    connect(view_, &TAbilityTableView::DetailRequested, this,
            handle(&TAbilityTableWindow::ShowDetail));
    connect(view_, &TAbilityTableView::CompareRequested, this,
            handle(&TAbilityTableWindow::OpenComparison));
    connect(view_, &QTableView::doubleClicked, this, handle(&TAbilityTableWindow::ShowDetail));
    connect(view_, &TAbilityTableView::SortRequested, this,
            [this](int column) { RunHandler(this, [this, column] { SortBy(column); }); });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        compareAction_->setEnabled(view_->selectionModel()->selectedRows().size() == 2);
        statusBar()->clearMessage();
    });
    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        RunHandler(this, [this, &text] {
            KeepingPlace([this, &text] { model_->SetFilter(text); });
            UpdateTitle();
        });
    });
    connect(header, &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                RunHandler(this, [this, column, order] {
                    KeepingPlace([this, column, order] { model_->sort(column, order); });
                    if (view_->currentIndex().isValid())
                        view_->scrollTo(view_->currentIndex());
                    else
                        view_->scrollToTop();
                });
            });

    // As quiet as the reload that brings it: no box in front of the game.
    connect(&side_.Follower(), &TFileFollower::VersionShown, this,
            [this] { FailureOf([this] { Refresh(); }); });
    CloseOnEscape(*this);
    resize(1000, 480);
    // The rows take the keyboard first; Alt+F reaches the filter.
    view_->setFocus();
}

TCompareWindow* TAbilityTableWindow::CompareWindow() const {
    return side_.Window().findChild<TCompareWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

// In the filter, Down goes to the table's first row; Ctrl+Shift+C copies the rows shown, as in
// the table, and so does Ctrl+C unless the filter has text selected, which it copies.
bool TAbilityTableWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress)
        return FilterKey(static_cast<const QKeyEvent&>(*event));
    return QMainWindow::eventFilter(watched, event);
}

bool TAbilityTableWindow::FilterKey(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Down && key.modifiers() == Qt::NoModifier) {
        view_->setFocus(Qt::TabFocusReason);
        if (model_->rowCount() > 0)
            view_->selectionModel()->setCurrentIndex(model_->index(0, 0),
                                                     QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
        return true;
    }
    if (key.key() == Qt::Key_C && key.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        RunHandler(this, [this] { view_->CopyAllRows(); });
        return true;
    }
    if (key.matches(QKeySequence::Copy) && !filter_->hasSelectedText()) {
        RunHandler(this, [this] { view_->CopySelectedRows(); });
        return true;
    }
    return false;
}

// A closed window costs a reload nothing: it is brought up to date when shown again.
void TAbilityTableWindow::Refresh() {
    if (!isVisible())
        return;
    KeepingPlace([this] { model_->Refresh(*DM_HorseStatus); });
    UpdateTitle();
}

void TAbilityTableWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        Refresh();
        view_->resizeColumnsToContents();
    }
}

void TAbilityTableWindow::SortBy(int column) {
    QHeaderView* header = view_->horizontalHeader();
    const Qt::SortOrder order =
        header->sortIndicatorSection() == column
            ? (header->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                  : Qt::AscendingOrder)
            : (SortsHighestFirst(column) ? Qt::DescendingOrder : Qt::AscendingOrder);
    header->setSortIndicator(column, order);
}

// The selected horses and the current one by their slots, and the scroll, are put back after
// the rows are made anew; a column whose texts grew longer is widened to show them.
void TAbilityTableWindow::KeepingPlace(const std::function<void()>& change) {
    const TViewPlace place(*view_, [this](int row) { return model_->SlotOfRow(row); });
    change();
    place.Restore(*view_, [this](int slot) { return model_->RowOfSlot(slot); });
    if (model_->Widened())
        view_->WidenColumnsToContents();
}

void TAbilityTableWindow::UpdateTitle() {
    setWindowTitle(QString::fromUtf8("能力表 — %1 頭").arg(model_->rowCount()));
}

void TAbilityTableWindow::ShowDetail() {
    const QModelIndex current = view_->currentIndex();
    if (current.isValid())
        side_.OpenDetail(model_->SlotOfRow(current.row()), *this);
}

// A is the selected row nearer the top. With other than two rows chosen, the status line says
// why nothing opened.
void TAbilityTableWindow::OpenComparison() {
    QModelIndexList rows = view_->selectionModel()->selectedRows();
    if (rows.size() != 2) {
        statusBar()->showMessage(
            QString::fromUtf8("比較するには 2 頭を選んでください (選んでいるのは %1 頭)。")
                .arg(rows.size()));
        return;
    }
    std::sort(rows.begin(), rows.end());
    TCompareWindow& compare = ShowBeside<TCompareWindow>(side_.Window(), BesideTheList, [this] {
        auto* window = new TCompareWindow(side_.Follower(), &side_.Window());
        side_.TakeCommands(*window);
        return window;
    });
    compare.SetHorses(model_->SlotOfRow(rows[0].row()), model_->SlotOfRow(rows[1].row()));
}

void AddAbilityTableCommand(TListSide& side) {
    QWidget& owner = side.Window();
    auto* action = new QAction(QString::fromUtf8("能力表(&T)"), &owner);
    action->setObjectName("AbilityTable1");
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    side.AddCommand(action);
    QObject::connect(action, &QAction::triggered, &owner, [&side, &owner] {
        RunHandler(&owner, [&side, &owner] {
            ShowBeside<TAbilityTableWindow>(owner, BesideTheList, [&side] {
                auto* window = new TAbilityTableWindow(side);
                side.TakeCommands(*window);
                return window;
            });
        });
    });
}
