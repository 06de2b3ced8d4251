// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_AbilityTableWindow.h"

#include "U_BestValueMarks.h"
#include "U_CompareWindow.h"
#include "U_ErrorDisplay.h"
#include "U_FileFollower.h"
#include "U_FrozenColumns.h"
#include "U_ListSide.h"
#include "U_ViewPlace.h"
#include "U_WindowOpener.h"

#include <QAction>
#include <QBoxLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QSignalBlocker>
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

// What a 評価 cell shows for a horse with no value: its expression divides by zero.
const QString NoScore = QString::fromUtf8("―");

// A field's error goes under it, and is what a screen reader says of the field besides its
// name; none hides the line.
QLabel* ErrorLineUnder(QLineEdit& field, const char* name) {
    auto* line = new QLabel(field.parentWidget());
    line->setObjectName(name);
    line->setTextFormat(Qt::PlainText);
    line->hide();
    return line;
}

void ShowError(QLineEdit& field, QLabel& line, const std::optional<InputError>& error) {
    const QString text = error ? QString::fromStdString(ErrorText(*error)) : QString();
    line.setText(text);
    line.setVisible(error.has_value());
    field.setAccessibleDescription(text);
}

} // namespace

void TAbilityTableModel::Refresh(const TDM_HorseStatus& table) {
    table_ = &table;
    Rebuild();
}

std::optional<InputError> TAbilityTableModel::SetFilter(const QString& text) {
    auto parsed = TableFilter::Parse(text.toStdString(), score_);
    if (const InputError* error = std::get_if<InputError>(&parsed))
        return *error;
    filter_ = std::get<TableFilter>(std::move(parsed));
    filterText_ = text.toStdString();
    Rebuild();
    return std::nullopt;
}

// The column comes and goes through the views' own column signals, so that the header keeps
// each other column's width and its sort arrow on the same field.
std::optional<InputError> TAbilityTableModel::SetScore(const QString& text) {
    std::optional<ScoreExpression> score;
    if (!text.trimmed().isEmpty()) {
        auto parsed = ScoreExpression::Parse(text.toStdString());
        if (const InputError* error = std::get_if<InputError>(&parsed))
            return *error;
        score = std::get<ScoreExpression>(std::move(parsed));
    }
    const int column = NameField + 1;
    const bool added = score && !score_, removed = !score && score_;
    if (added)
        beginInsertColumns({}, column, column);
    if (removed)
        beginRemoveColumns({}, column, column);
    score_ = std::move(score);
    scoreText_ = text.trimmed();
    scores_.clear();
    scoreTexts_.clear();
    if (!score_ && sort_.ByScore)
        sort_ = {};
    if (added)
        endInsertColumns();
    if (removed)
        endRemoveColumns();
    // 評価 in the filter's conditions is the new expression's; the text parsed before.
    filter_ = std::get<TableFilter>(TableFilter::Parse(filterText_, score_));
    Rebuild();
    return std::nullopt;
}

std::optional<int> TAbilityTableModel::FieldOfColumn(int column) const {
    if (!score_ || column <= NameField)
        return column;
    if (column == ScoreColumn())
        return std::nullopt;
    return column - 1;
}

int TAbilityTableModel::SortColumn() const {
    if (sort_.ByScore)
        return ScoreColumn();
    if (!sort_.Field)
        return -1;
    return *sort_.Field + (score_ && *sort_.Field > NameField ? 1 : 0);
}

void TAbilityTableModel::sort(int column, Qt::SortOrder order) {
    const bool descending = order == Qt::DescendingOrder;
    if (column < 0 || column >= columnCount())
        sort_ = {};
    else if (const std::optional<int> field = FieldOfColumn(column))
        sort_ = {*field, descending};
    else
        sort_ = {std::nullopt, descending, true};
    Rebuild();
}

void TAbilityTableModel::Rebuild() {
    beginResetModel();
    rows_.clear();
    shown_.clear();
    best_.reset();
    scores_.clear();
    scoreTexts_.clear();
    bestScore_.reset();
    if (table_ != nullptr) {
        shown_ = ShownHorses(*table_, filter_, sort_, score_ ? &*score_ : nullptr);
        best_ = BestAbilities(*table_, shown_);
        if (score_)
            for (const int slot : shown_) {
                const std::optional<double> value = score_->Value(*table_, slot);
                scores_.push_back(value);
                scoreTexts_.push_back(value ? QString::fromStdString(ScoreText(*value)) : NoScore);
                if (value && (!bestScore_ || *value > *bestScore_))
                    bestScore_ = value;
            }
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
    for (const QString& text : scoreTexts_)
        if (text.size() > longestScore_) {
            longestScore_ = text.size();
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
    const std::optional<int> field = FieldOfColumn(index.column());
    const auto row = static_cast<std::size_t>(index.row());
    if (!field)
        return bestScore_ && row < scores_.size() && scores_[row] == bestScore_;
    const int ability = *field - FirstBasicAbilityField;
    return best_ && ability >= 0 && ability < BasicAbilityCount &&
           FieldValue(*table_, *field, SlotOfRow(index.row())) == (*best_)[ability];
}

int TAbilityTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TAbilityTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SlotStateField + (score_ ? 1 : 0);
}

QVariant TAbilityTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const std::optional<int> field = FieldOfColumn(index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(!field || HorseFields[*field].Kind == FieldKind::Number
                                       ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
    if (Marked(index))
        if (QVariant marked = MarkedCellData(role, QString::fromUtf8(BestValueDescription));
            marked.isValid())
            return marked;
    if (!field)
        return ScoreData(index.row(), role);
    if (role == Qt::DisplayRole)
        return rows_[static_cast<std::size_t>(index.row())][*field];
    return {};
}

// A 評価 cell's text, and as its tip the sum term by term with the horse's values.
QVariant TAbilityTableModel::ScoreData(int row, int role) const {
    const auto at = static_cast<std::size_t>(row);
    if (at >= scoreTexts_.size())
        return {};
    if (role == Qt::DisplayRole)
        return scoreTexts_[at];
    if (role == Qt::ToolTipRole)
        return QString::fromStdString(score_->Breakdown(*table_, SlotOfRow(row)));
    return {};
}

QVariant TAbilityTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The rows' header is hidden but read out by screen readers: it names each row by its
    // horse, as the 変更点 names its rows.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0 &&
        section < rowCount())
        return rows_[static_cast<std::size_t>(section)][0] + ' ' +
               rows_[static_cast<std::size_t>(section)][NameField];
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const std::optional<int> field = FieldOfColumn(section);
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(field ? HorseFields[*field].Caption : ScoreCaption);
    // The header's first click on a column: numbers highest first, texts in kana order.
    if (role == Qt::InitialSortOrderRole)
        return !field || SortsHighestFirst(*field) ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (role == Qt::ToolTipRole && !field)
        return QString::fromUtf8(ScoreCaption) + " (" + scoreText_ + ')';
    return {};
}

QString TAbilityTableView::CopiedCaption(int column) const {
    const QVariant named = model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole);
    return named.isValid() ? named.toString() : TReportView::CopiedCaption(column);
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
      filterError_(ErrorLineUnder(*filter_, "FilterError")), score_(new QLineEdit(this)),
      scoreError_(ErrorLineUnder(*score_, "ScoreError")),
      compareAction_(new QAction(QString::fromUtf8("比較(&V)"), this)) {
    setObjectName("AbilityTableWindow");
    auto* filterLabel = new QLabel(QString::fromUtf8("絞り込み(&F):"), this);
    filterLabel->setBuddy(filter_);
    filter_->setObjectName("FilterBox");
    filter_->setAccessibleName(QString::fromUtf8("絞り込み"));
    filter_->setPlaceholderText(QString::fromUtf8(
        "馬名・父・母・アビリティ名、距離 (2400 など)、条件 (スピード>=100 など)"));
    filter_->installEventFilter(this);
    auto* scoreLabel = new QLabel(QString::fromUtf8("評価式(&E):"), this);
    scoreLabel->setBuddy(score_);
    score_->setObjectName("ScoreBox");
    score_->setAccessibleName(QString::fromUtf8("評価式"));
    score_->setPlaceholderText(QString::fromUtf8("例: スピード*2 + スタミナ + 瞬発力/2"));
    auto* note = new QLabel(TableNote, this);
    note->setObjectName("MarkNote");

    view_->setObjectName("AbilityTable");
    view_->setAccessibleName(QString::fromUtf8("能力表"));
    view_->ShowRows(model_);
    view_->horizontalHeader()->setMinimumSectionSize(1);
    // The header shows the order and takes clicks; the order is set here rather than by the
    // view, so that the selected horses stay selected.
    QHeaderView* header = view_->horizontalHeader();
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    // ID and 馬名 stay in sight when the table is scrolled sideways.
    new TFrozenColumns(*view_, NameField + 1, [this](int column) {
        RunHandler(this, [this, column] { SortBy(column); });
    });

    // Each field's error on the line under it, shown only while there is one.
    auto* fields = new QGridLayout;
    fields->addWidget(filterLabel, 0, 0);
    fields->addWidget(filter_, 0, 1);
    fields->addWidget(filterError_, 1, 1);
    fields->addWidget(scoreLabel, 2, 0);
    fields->addWidget(score_, 2, 1);
    fields->addWidget(scoreError_, 3, 1);
    auto* content = new QWidget(this);
    setCentralWidget(content);
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(fields);
    layout->addWidget(note);
    layout->addWidget(view_, 1);

    compareAction_->setObjectName("Compare1");
    compareAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    compareAction_->setEnabled(false);
    addAction(compareAction_);
    view_->AddWindowAction(compareAction_);
    // The commands for a chosen horse act on the current row here.
    for (QAction* command : side.HorseCommands())
        view_->AddWindowAction(command);

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
            std::optional<InputError> error;
            KeepingPlace([this, &text, &error] { error = model_->SetFilter(text); });
            ShowError(*filter_, *filterError_, error);
            UpdateTitle();
        });
    });
    connect(score_, &QLineEdit::textChanged, this, [this](const QString& text) {
        RunHandler(this, [this, &text] { ChangeScore(text); });
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
        // Fitted once, when first shown; from then on only widened.
        if (!fitted_)
            view_->FitColumnsToContents();
        fitted_ = true;
    }
}

void TAbilityTableWindow::SortBy(int column) {
    QHeaderView* header = view_->horizontalHeader();
    const Qt::SortOrder order =
        header->sortIndicatorSection() == column
            ? (header->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                  : Qt::AscendingOrder)
            : model_->headerData(column, Qt::Horizontal, Qt::InitialSortOrderRole)
                  .value<Qt::SortOrder>();
    header->setSortIndicator(column, order);
}

// The header's arrow is set to the model's order without sorting again; the new column is
// fitted to its texts.
void TAbilityTableWindow::ChangeScore(const QString& text) {
    std::optional<InputError> error;
    KeepingPlace([this, &text, &error] { error = model_->SetScore(text); });
    ShowError(*score_, *scoreError_, error);
    QHeaderView* header = view_->horizontalHeader();
    const QSignalBlocker quiet(header);
    header->setSortIndicator(model_->SortColumn(), header->sortIndicatorOrder());
    view_->WidenColumnsToContents();
}

// The selected horses and the current one by their slots, and the scroll, are put back after
// the rows are made anew; a column whose texts grew longer is widened to show them.
void TAbilityTableWindow::KeepingPlace(const std::function<void()>& change) {
    const TViewPlace place(*view_, [this](int row) { return model_->SlotOfRow(row); });
    change();
    place.Restore(*view_, [this](int slot) { return model_->RowOfSlot(slot); });
    if (fitted_ && model_->Widened())
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
