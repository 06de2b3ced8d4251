// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_MainWindow.h"

#include "ui_U_MainWindow.h"

#include "U_DetailWindow.h"
#include "U_ErrorDisplay.h"
#include "U_HorseListModel.h"
#include "U_HorseStatus.h"
#include "U_OpenDialog.h"
#include "U_ReportView.h"
#include "U_ViewPlace.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScopedValueRollback>

#include <memory>
#include <stdexcept>

TMainForm* MainForm = nullptr;

namespace {

// Here, not in the layout: uic takes a window's size from its layout, never its position.
const QPoint FirstPosition(192, 107);
constexpr int ColumnWidths[HorseRowColumnCount] = {24, 112, 40, 200, 80, 72, 128, 128};

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
TMainForm::TMainForm(TFileFollower& follower, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TMainForm>()), horseList_(new THorseListModel(this)),
      openDialog_(std::make_unique<TOpenDialog>(this)), follower_(follower) {
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
    UseReportRowHeight(*list);

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
    connect(ui->Reload1, &QAction::triggered, this, handle(&TMainForm::Reload1Click));
    // The list shows each version first, before any window that follows the file; a version
    // waits while a caption is typed over, and comes once the typing has ended (queued, so
    // that the list has left its editing state).
    connect(&follower_, &TFileFollower::VersionShown, this, &TMainForm::ShowVersion);
    follower_.CanShowNow = [this] { return CanShowVersion(); };
    connect(list, &THorseListView::EditingEnded, &follower_, &TFileFollower::Resume,
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
    follower_.Load(path, TFileFollower::Reason::Open);
}

void TMainForm::ShowVersion(const TFileFollower::Version& version) {
    if (version.Why == TFileFollower::Reason::Open)
        RefreshHorseList();
    else
        RefreshKeepingPlace();
    ui->Reload1->setEnabled(true);
}

bool TMainForm::CanShowVersion() const {
    return !ui->HorseListView->Editing();
}

THorseListView& TMainForm::ListView() const {
    return *ui->HorseListView;
}

void TMainForm::RefreshHorseList() {
    ui->HorseListView->clearSelection();
    horseList_->Fill(*DM_HorseStatus);
}

// The selected horse by its slot (or the current one, with none selected), the scroll
// position and the focus stay as they were.
void TMainForm::RefreshKeepingPlace() {
    THorseListView* list = ui->HorseListView;
    const TViewPlace place(*list, [this](int row) { return horseList_->SlotOfRow(row); });
    {
        const QScopedValueRollback keeping(keepingPlace_, true);
        // The rows as RefreshHorseList makes them, in place when the same slots are listed:
        // then nothing has moved.
        if (horseList_->Update(*DM_HorseStatus))
            place.Restore(*list, [this](int slot) { return horseList_->RowOfSlot(slot); });
    }
    ui->Button1->setEnabled(SelectedRow().has_value());
}

void TMainForm::ReloadFollowedFile() {
    follower_.Reload();
}

// F5 loads the file again as the open command does, error boxes and all, but keeps the place;
// not while a caption is typed over, whose typing it would throw away.
void TMainForm::Reload1Click() {
    if (!follower_.Path().isEmpty() && CanShowVersion())
        follower_.Load(follower_.Path(), TFileFollower::Reason::Reload);
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
    ShowDetailWindow(
        HorseIndexFromCaption(horseList_->index(*row, 0).data(Qt::EditRole).toString()), *this,
        follower_);
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
