// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_MainWindow.h"

#include "ui_U_MainWindow.h"

#include "U_AbilityTableWindow.h"
#include "U_Analyze.h"
#include "U_DetailWindow.h"
#include "U_ErrorDisplay.h"
#include "U_FileAccess.h"
#include "U_FileFollower.h"
#include "U_HorseListModel.h"
#include "U_HorseStatus.h"
#include "U_OpenDialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <memory>
#include <stdexcept>

TMainForm* MainForm = nullptr;

namespace {

// Here, not in the layout: uic takes a window's size from its layout, never its position.
const QPoint FirstPosition(192, 107);
constexpr int ColumnWidths[HorseRowColumnCount] = {24, 112, 40, 200, 80, 72, 128, 128};
constexpr int RowHeight = 17;

// The one local file a drag carries, if it carries exactly one.
std::optional<QString> DroppedFile(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1 ||
        !mime->urls().front().isLocalFile())
        return std::nullopt;
    return mime->urls().front().toLocalFile();
}

} // namespace

int HorseIndexFromCaption(const QString& caption) {
    bool isInteger = false;
    const int index = caption.toInt(&isInteger, 10);
    if (!isInteger)
        throw std::runtime_error("'" + caption.toStdString() + "' は整数ではありません");
    if (index < 0 || index >= RecordCount)
        throw std::runtime_error("'" + std::to_string(index) + "' は 0 から " +
                                 std::to_string(RecordCount - 1) + " までの範囲にありません");
    return index;
}

// Windows gives a window a sizing frame, and through it a way to maximise, unless it is asked
// for a fixed one; elsewhere the fixed size alone says so.
TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TMainForm>()), horseList_(new THorseListModel(this)),
      openDialog_(std::make_unique<TOpenDialog>(this)), follower_(new TFileFollower(this)) {
    ui->setupUi(this);
    ui->N1->setSeparator(true); // a line only: no text to draw or to read out
    // The layout's size is the client area's; the menu bar, as high as the font makes it,
    // comes on top.
    setFixedSize(width(), ui->MainMenu->sizeHint().height() + height());
    move(FirstPosition);
    setAcceptDrops(true);

    THorseListView* list = ui->HorseListView;
    list->setModel(horseList_);
    // The ID column is narrower than Qt's least width of a column.
    list->horizontalHeader()->setMinimumSectionSize(1);
    for (int column = 0; column < HorseRowColumnCount; ++column)
        list->setColumnWidth(column, ColumnWidths[column]);
    list->horizontalHeader()->setSectionsClickable(false);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // A style's least row height follows the font (Windows' adds the header's margins to it),
    // and would otherwise win over the rows' own height.
    list->verticalHeader()->setMinimumSectionSize(1);
    list->verticalHeader()->setDefaultSectionSize(RowHeight);

    ui->Button1->setEnabled(false);
    // While a reload puts the place back, the button keeps its state, and so the focus it has.
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!keepingPlace_)
            ui->Button1->setEnabled(SelectedRow().has_value());
    });

    auto handle = [this](void (TMainForm::*handler)()) {
        return [this, handler] { RunHandler(this, [this, handler] { (this->*handler)(); }); };
    };
    connect(ui->O1, &QAction::triggered, this, handle(&TMainForm::O1Click));
    connect(ui->Exit1, &QAction::triggered, this, handle(&TMainForm::Exit1Click));
    connect(ui->Button1, &QPushButton::clicked, this, handle(&TMainForm::Button1Click));
    connect(list, &QTableView::doubleClicked, this, handle(&TMainForm::Button1Click));
    connect(list, &THorseListView::DetailRequested, this, handle(&TMainForm::Button1Click));
    // F5 is the window's, wherever the focus is in it; the list's context menu shows it too.
    addAction(ui->Reload1);
    list->SetReloadAction(ui->Reload1);
    AddAbilityTableCommand(this, list);
    connect(ui->Reload1, &QAction::triggered, this, handle(&TMainForm::Reload1Click));
    connect(follower_, &TFileFollower::Settled, this, &TMainForm::ReloadFollowedFile);
    // Queued, so that the list has left its editing state.
    connect(
        list, &THorseListView::EditingEnded, this,
        [this] {
            if (reloadWaiting_)
                ReloadFollowedFile();
        },
        Qt::QueuedConnection);

    ChooseFile = [this] { return RunOpenDialog(); };
}

TMainForm::~TMainForm() = default;

std::optional<QString> TMainForm::RunOpenDialog() {
    std::optional<QString> file = openDialog_->Run();
    // The main window, active again, gives the keyboard to the list, however the dialog
    // closed.
    activateWindow();
    ui->HorseListView->setFocus(Qt::OtherFocusReason);
    return file;
}

void TMainForm::LoadHorseFile(const QString& path) {
    Load(path, false);
}

// The list follows the file whose rows it shows, so only a load that lists them changes it.
void TMainForm::Load(const QString& path, bool keepPlace) {
    const auto block = std::make_unique<HorseBlock>();
    if (!DM_FileAccess->ReadHorseBlock(path.toUtf8().toStdString(), HorseBlockSize, *block))
        return;
    DM_Analyze->AnalyzeBlock(*block);
    if (keepPlace)
        RefreshKeepingPlace();
    else
        RefreshHorseList();
    follower_->Follow(path);
    ui->Reload1->setEnabled(true);
    emit HorseTableShown(path);
}

void TMainForm::RefreshHorseList() {
    ui->HorseListView->clearSelection();
    horseList_->Fill(*DM_HorseStatus);
}

// The selected horse by its slot (or the current one, with none selected), the scroll
// position and the focus stay as they were. The scroll bars keep their range until the list
// is next laid out, so the position is taken as it was; fewer rows then shorten it.
void TMainForm::RefreshKeepingPlace() {
    THorseListView* list = ui->HorseListView;
    const std::optional<int> selected = SelectedRow();
    const QModelIndex current = list->currentIndex();
    const std::optional<int> row = selected            ? selected
                                   : current.isValid() ? std::optional(current.row())
                                                       : std::nullopt;
    const std::optional<int> slot = row ? std::optional(horseList_->SlotOfRow(*row)) : std::nullopt;
    const int column = current.isValid() ? current.column() : 0;
    const int across = list->horizontalScrollBar()->value();
    const int down = list->verticalScrollBar()->value();
    {
        const QScopedValueRollback keeping(keepingPlace_, true);
        // The rows as RefreshHorseList makes them, in place when the same slots are listed:
        // then nothing has moved.
        if (!horseList_->Update(*DM_HorseStatus))
            return;
        if (const std::optional<int> now = slot ? horseList_->RowOfSlot(*slot) : std::nullopt)
            list->selectionModel()->setCurrentIndex(horseList_->index(*now, column),
                                                    selected ? QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows
                                                             : QItemSelectionModel::NoUpdate);
        list->horizontalScrollBar()->setValue(across);
        list->verticalScrollBar()->setValue(down);
    }
    ui->Button1->setEnabled(SelectedRow().has_value());
}

void TMainForm::ReloadFollowedFile() {
    if (follower_->Path().isEmpty())
        return;
    reloadWaiting_ = ui->HorseListView->Editing();
    if (reloadWaiting_)
        return;
    bool settled = false;
    // Any failure, a writer holding the file among them, is tried again a little later.
    FailureOf([this, &settled] {
        // A file deleted or renamed away is no longer watched: the path is, anew.
        if (!follower_->WatchesFile())
            follower_->Rewatch();
        const std::string path = follower_->Path().toUtf8().toStdString();
        const auto block = std::make_unique<HorseBlock>();
        FileVersion version;
        WholeRead read = DM_FileAccess->ReadWholeHorseBlock(path, HorseBlockSize, *block, &version);
        // Another file at the path, the old one still held open elsewhere: watched from now on,
        // and read again for what it was given before the watch.
        if (read == WholeRead::Read && follower_->Rewatch(version))
            read = DM_FileAccess->ReadWholeHorseBlock(path, HorseBlockSize, *block, &version);
        if (read == WholeRead::Read) {
            DM_Analyze->AnalyzeBlock(*block);
            RefreshKeepingPlace();
            emit HorseTableShown(follower_->Path());
        }
        settled = read != WholeRead::Unsettled;
    });
    if (!settled)
        follower_->RetryLater();
}

// F5 loads the file again as the open command does, error boxes and all, but keeps the place;
// not while a caption is typed over, whose typing it would throw away.
void TMainForm::Reload1Click() {
    if (!follower_->Path().isEmpty() && !ui->HorseListView->Editing())
        Load(follower_->Path(), true);
}

void TMainForm::O1Click() {
    if (const std::optional<QString> path = ChooseFile())
        LoadHorseFile(*path);
}

void TMainForm::Exit1Click() {
    close();
}

std::optional<int> TMainForm::SelectedRow() const {
    const QModelIndexList rows = ui->HorseListView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.front().row();
}

void TMainForm::Button1Click() {
    const std::optional<int> row = SelectedRow();
    if (!row)
        return;
    TDetailWindow dialog(this);
    dialog.HorseIndex =
        HorseIndexFromCaption(horseList_->index(*row, 0).data(Qt::EditRole).toString());
    dialog.exec();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    if (const std::optional<QString> path = DroppedFile(event->mimeData())) {
        event->acceptProposedAction();
        // The load runs once the drop has returned, so that the dragging program is not kept
        // waiting behind an error box.
        QMetaObject::invokeMethod(
            this,
            [this, file = *path] { RunHandler(this, [this, &file] { LoadHorseFile(file); }); },
            Qt::QueuedConnection);
    }
}
