// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ChangesWindow.h"

#include "ui_U_ChangesWindow.h"

#include "U_ChangeLog.h"
#include "U_ErrorDisplay.h"
#include "U_ListSide.h"
#include "U_ReportView.h"
#include "U_WindowOpener.h"

#include <QAction>

namespace {

constexpr int ColumnWidths[ChangeLogColumnCount] = {64, 100, 28, 100, 84, 128, 128, 40};

} // namespace

TChangesWindow::TChangesWindow(THorseChangeLog* log, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ChangesWindow>()), log_(log) {
    ui->setupUi(this);
    TReportView* view = ui->ChangesView;
    view->setModel(log);
    view->SetCopiesCaptions(true);
    view->horizontalHeader()->setSectionsClickable(false);
    for (int column = 0; column < ChangeLogColumnCount; ++column)
        view->setColumnWidth(column, ColumnWidths[column]);
    UseReportRowHeight(*view);
    connect(log, &THorseChangeLog::Read, this, &TChangesWindow::ShowLastRead);
    ShowLastRead();
    view->setFocus();
}

TChangesWindow::~TChangesWindow() = default;

void TChangesWindow::ShowLastRead() {
    const QString& read = log_->LastRead();
    ui->L_LastRead->setText(QStringLiteral("最終読込 ") +
                            (read.isEmpty() ? QStringLiteral("なし") : read));
    ui->L_Empty->setVisible(log_->rowCount() == 0);
}

void AddChangesCommand(TListSide& side) {
    QWidget& owner = side.Window();
    auto* log = new THorseChangeLog(&owner);
    log->setObjectName(QStringLiteral("ChangeLog"));
    QObject::connect(&side.Follower(), &TFileFollower::VersionShown, log,
                     &THorseChangeLog::RecordShown);

    auto* changes = new QAction(QStringLiteral("変更点(&H)"), &owner);
    changes->setObjectName(QStringLiteral("Changes1"));
    changes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    side.AddCommand(changes);
    QObject::connect(changes, &QAction::triggered, &owner, [&side, &owner, log] {
        RunHandler(&owner, [&side, &owner, log] {
            // Below the list first: the log is wide and short.
            ShowBeside<TChangesWindow>(owner, {Side::Below, Side::Right, Side::Left, Side::Above},
                                       [&side, &owner, log] {
                                           auto* window = new TChangesWindow(log, &owner);
                                           side.TakeCommands(*window);
                                           return window;
                                       });
        });
    });
}
