// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_MainWindow.h"

#include "ui_U_MainWindow.h"

#include "U_AbilityTableWindow.h"
#include "U_Analyze.h"
#include "U_ChangesWindow.h"
#include "U_DetailWindow.h"
#include "U_ErrorDisplay.h"
#include "U_FileAccess.h"
#include "U_FileFollower.h"
#include "U_HorseListModel.h"
#include "U_HorseStatus.h"
#include "U_OpenDialog.h"
#include "U_TrendCommand.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
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

// Moves a new window to `wanted`, or as near to it as keeps it whole on the screen.
void PlaceOnScreen(QWidget& window, QPoint wanted) {
    if (const QScreen* screen = window.screen()) {
        const QRect room = screen->availableGeometry();
        const QSize size = window.frameGeometry().size();
        wanted.setX(std::max(room.left(), std::min(wanted.x(), room.right() - size.width())));
        wanted.setY(std::max(room.top(), std::min(wanted.y(), room.bottom() - size.height())));
    }
    window.move(wanted);
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
      openDialog_(std::make_unique<TOpenDialog>(this)),
      follower_(new TFileFollower(
          [this](const QString& path, TFileFollower::Reason why) { return ShowFile(path, why); },
          this)) {
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
    connect(ui->Reload1, &QAction::triggered, this, handle(&TMainForm::Reload1Click));
    // The windows beside the list, made when first asked for.
    AddChangesCommand(*this, *list);
    AddAbilityTableCommand(*this, *list);
    AddTrendCommand(*this, *list);
    // Queued, so that the list has left its editing state.
    connect(list, &THorseListView::EditingEnded, follower_, &TFileFollower::Resume,
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
    follower_->Load(path, TFileFollower::Reason::Open);
}

// The follower makes every read through here, and follows the file whose rows the list shows.
TFileFollower::Shown TMainForm::ShowFile(const QString& path, TFileFollower::Reason why) {
    using Shown = TFileFollower::Shown;
    if (why == TFileFollower::Reason::Follow && ui->HorseListView->Editing())
        return Shown::PutOff;
    const auto block = std::make_unique<HorseBlock>();
    const WholeRead read =
        DM_FileAccess->ReadWholeHorseBlock(path.toUtf8().toStdString(), HorseBlockSize, *block);
    if (read != WholeRead::Read)
        return read == WholeRead::Unsettled ? Shown::Unsettled : Shown::NotHorseFile;
    DM_Analyze->AnalyzeBlock(*block);
    if (why == TFileFollower::Reason::Open)
        RefreshHorseList();
    else
        RefreshKeepingPlace();
    ui->Reload1->setEnabled(true);
    emit HorseTableShown(path);
    return Shown::Version;
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
    follower_->Reload();
}

// F5 loads the file again as the open command does, error boxes and all, but keeps the place;
// not while a caption is typed over, whose typing it would throw away.
void TMainForm::Reload1Click() {
    if (!follower_->Path().isEmpty() && !ui->HorseListView->Editing())
        follower_->Load(follower_->Path(), TFileFollower::Reason::Reload);
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
    // While it is open, the window shows its horse as each new version has it.
    connect(this, &TMainForm::HorseTableShown, &dialog,
            [&dialog] { RunHandler(&dialog, [&dialog] { dialog.FillDetail(); }); });
    dialog.exec();
}

void PlaceBeside(QWidget& window, const QWidget& main, const std::array<Side, 4>& sides) {
    const QScreen* screen = main.screen();
    if (screen == nullptr)
        return;
    const QRect room = screen->availableGeometry();
    const QRect beside = main.frameGeometry();
    // A new window has no frame yet: it will have one as large as the main window's.
    const QSize frame = beside.size() - main.geometry().size();
    const QSize size = window.size() + frame;
    const auto roomOn = [&](Side side) {
        switch (side) {
        case Side::Right:
            return QRect(QPoint(beside.right() + 1, room.top()), room.bottomRight());
        case Side::Below:
            return QRect(QPoint(room.left(), beside.bottom() + 1), room.bottomRight());
        case Side::Left:
            return QRect(room.topLeft(), QPoint(beside.left() - 1, room.bottom()));
        case Side::Above:
            break;
        }
        return QRect(room.topLeft(), QPoint(room.right(), beside.top() - 1));
    };
    // Next to the main window's top or left edge, as far as the room allows.
    const auto placeIn = [&](const QRect& area, QSize fitted) {
        window.resize(fitted - frame);
        PlaceOnScreen(window,
                      {std::clamp(beside.left(), area.left(),
                                  std::max(area.left(), area.right() + 1 - fitted.width())),
                       std::clamp(beside.top(), area.top(),
                                  std::max(area.top(), area.bottom() + 1 - fitted.height()))});
    };
    QRect roomiest;
    for (const Side side : sides) {
        const QRect area = roomOn(side);
        if (area.width() >= size.width() && area.height() >= size.height())
            return placeIn(area, size);
        if (area.width() * area.height() > roomiest.width() * roomiest.height())
            roomiest = area;
    }
    if (!roomiest.isEmpty())
        placeIn(roomiest, size.boundedTo(roomiest.size()).expandedTo(window.minimumSize() + frame));
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
