// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ChangesWindow.h"

#include "ui_U_ChangesWindow.h"

#include "U_ChangeLog.h"
#include "U_ErrorDisplay.h"
#include "U_HorseListView.h"
#include "U_MainWindow.h"

#include <QAction>

namespace {

constexpr int ColumnWidths[ChangeLogColumnCount] = {64, 100, 28, 100, 84, 128, 128, 40};

} // namespace

TChangesWindow::TChangesWindow(THorseChangeLog* log, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ChangesWindow>()), log_(log) {
    ui->setupUi(this);
    THorseListView* view = ui->ChangesView;
    view->setModel(log);
    view->SetCopiesCaptions(true);
    view->horizontalHeader()->setSectionsClickable(false);
    for (int column = 0; column < ChangeLogColumnCount; ++column)
        view->setColumnWidth(column, ColumnWidths[column]);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setDefaultSectionSize(17);
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

void AddChangesCommand(TMainForm& form, THorseListView& list) {
    auto* log = new THorseChangeLog(&form);
    log->setObjectName(QStringLiteral("ChangeLog"));
    QObject::connect(&form, &TMainForm::HorseTableShown, log, &THorseChangeLog::RecordShown);

    auto* changes = new QAction(QStringLiteral("変更点(&H)"), &form);
    changes->setObjectName(QStringLiteral("Changes1"));
    changes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    form.addAction(changes);
    list.AddWindowAction(changes);
    QObject::connect(changes, &QAction::triggered, &form, [&form, log] {
        RunHandler(&form, [&form, log] {
            auto* window = form.findChild<TChangesWindow*>({}, Qt::FindDirectChildrenOnly);
            if (window == nullptr) {
                window = new TChangesWindow(log, &form);
                PlaceBeside(*window, form, {Side::Below, Side::Right, Side::Left, Side::Above});
            }
            window->show();
            window->raise();
            window->activateWindow();
        });
    });
}
