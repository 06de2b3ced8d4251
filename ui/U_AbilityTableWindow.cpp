// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_AbilityTableWindow.h"

#include "U_CompareWindow.h"
#include "U_DetailWindow.h"
#include "U_ErrorDisplay.h"
#include "U_MainWindow.h"

#include <QAction>
#include <QBoxLayout>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScrollBar>
#include <QShowEvent>

#include <algorithm>
#include <functional>

namespace {

// The marked cells' colours: dark text on amber in a light theme, light text on brown in a
// dark one; both pairs are well above 4.5:1 (the tests measure them).
constexpr QRgb LightMarkBackground = 0xFFE08A, LightMarkText = 0x000000;
constexpr QRgb DarkMarkBackground = 0x5C4400, DarkMarkText = 0xFFFFFF;

bool DarkTheme() {
    return QGuiApplication::palette().color(QPalette::Base).lightness() < 128;
}

// One line, unwrapped: a wrapped label costs the window's opening a third again.
const QString TableNote =
    QString::fromUtf8("太字に色の値: 表示中の馬でその能力の最高値。"
                      "並べ替え: 見出しのクリックか Ctrl+S、もう一度で逆順。");

// The table is wide: to the list's right first, then below it.
constexpr std::array<Side, 4> BesideTheList = {Side::Right, Side::Below, Side::Left, Side::Above};

} // namespace

QVariant MarkedCellData(int role, const QString& description) {
    switch (role) {
    case Qt::FontRole: {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::BackgroundRole:
        return QColor(DarkTheme() ? DarkMarkBackground : LightMarkBackground);
    case Qt::ForegroundRole:
        return QColor(DarkTheme() ? DarkMarkText : LightMarkText);
    case Qt::AccessibleDescriptionRole:
        return description;
    default:
        return {};
    }
}

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
    THorseListView::keyPressEvent(event);
}

TAbilityTableWindow::TAbilityTableWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window), model_(new TAbilityTableModel(this)),
      view_(new TAbilityTableView(this)), filter_(new QLineEdit(this)),
      compareAction_(new QAction(QString::fromUtf8("比較(&V)"), this)) {
    setObjectName("AbilityTableWindow");
    auto* filterLabel = new QLabel(QString::fromUtf8("絞り込み(&F):"), this);
    filterLabel->setBuddy(filter_);
    filter_->setObjectName("FilterBox");
    filter_->setAccessibleName(QString::fromUtf8("絞り込み"));
    filter_->setPlaceholderText(
        QString::fromUtf8("馬名・父・母・アビリティ名、または距離 (2400 など)"));
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
    connect(view_, &THorseListView::DetailRequested, this,
            handle(&TAbilityTableWindow::ShowDetail));
    connect(view_, &QTableView::doubleClicked, this, handle(&TAbilityTableWindow::ShowDetail));
    connect(view_, &TAbilityTableView::SortRequested, this,
            [this](int column) { RunHandler(this, [this, column] { SortBy(column); }); });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        compareAction_->setEnabled(view_->selectionModel()->selectedRows().size() == 2);
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

    resize(1000, 480);
    // The rows take the keyboard first; Alt+F reaches the filter.
    view_->setFocus();
}

// A closed window costs a reload nothing: it is brought up to date when shown again.
void TAbilityTableWindow::Refresh() {
    if (compare_ != nullptr)
        compare_->Refresh();
    if (!isVisible())
        return;
    KeepingPlace([this] { model_->Refresh(*DM_HorseStatus); });
    UpdateTitle();
}

void TAbilityTableWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        Refresh();
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
// the rows are made anew.
void TAbilityTableWindow::KeepingPlace(const std::function<void()>& change) {
    std::vector<int> selected;
    for (const QModelIndex& row : view_->selectionModel()->selectedRows())
        selected.push_back(model_->SlotOfRow(row.row()));
    const QModelIndex current = view_->currentIndex();
    const int currentSlot = current.isValid() ? model_->SlotOfRow(current.row()) : -1;
    const int across = view_->horizontalScrollBar()->value();
    const int down = view_->verticalScrollBar()->value();
    change();
    QItemSelection selection;
    for (const int slot : selected)
        if (const std::optional<int> row = model_->RowOfSlot(slot))
            selection.select(model_->index(*row, 0), model_->index(*row, SlotStateField - 1));
    if (const std::optional<int> row = model_->RowOfSlot(currentSlot))
        view_->selectionModel()->setCurrentIndex(model_->index(*row, current.column()),
                                                 QItemSelectionModel::NoUpdate);
    view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    view_->horizontalScrollBar()->setValue(across);
    view_->verticalScrollBar()->setValue(down);
}

void TAbilityTableWindow::UpdateTitle() {
    setWindowTitle(QString::fromUtf8("能力表 — %1 頭").arg(model_->rowCount()));
}

void TAbilityTableWindow::ShowDetail() {
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid())
        return;
    TDetailWindow dialog(this);
    dialog.HorseIndex = model_->SlotOfRow(current.row());
    dialog.exec();
}

// A is the selected row nearer the top.
void TAbilityTableWindow::OpenComparison() {
    QModelIndexList rows = view_->selectionModel()->selectedRows();
    if (rows.size() != 2)
        return;
    std::sort(rows.begin(), rows.end());
    if (compare_ == nullptr) {
        compare_ = new TCompareWindow(this);
        // Beside the list as the table is, over the table rather than over the list.
        PlaceBeside(*compare_, *parentWidget(), BesideTheList);
    }
    compare_->SetHorses(model_->SlotOfRow(rows[0].row()), model_->SlotOfRow(rows[1].row()));
    compare_->show();
    compare_->raise();
    compare_->activateWindow();
}

void AddAbilityTableCommand(TMainForm& form, THorseListView& list) {
    auto* action = new QAction(QString::fromUtf8("能力表(&T)"), &form);
    action->setObjectName("AbilityTable1");
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    form.addAction(action);
    list.AddWindowAction(action);
    QObject::connect(action, &QAction::triggered, &form, [&form] {
        RunHandler(&form, [&form] {
            auto* window = form.findChild<TAbilityTableWindow*>();
            // A window of the main window's: it closes with it, and never keeps the program
            // running on its own.
            if (window == nullptr) {
                window = new TAbilityTableWindow(&form);
                PlaceBeside(*window, form, BesideTheList);
                // As quiet as the reload that brings it: no box in front of the game.
                QObject::connect(&form, &TMainForm::HorseTableShown, window,
                                 [window] { FailureOf([window] { window->Refresh(); }); });
            }
            window->show();
            window->raise();
            window->activateWindow();
        });
    });
}
