// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_TrendCommand.h"

#include "U_ErrorDisplay.h"
#include "U_HorseListView.h"
#include "U_MainWindow.h"
#include "U_TrendWindow.h"

#include <QAction>

void TTrendRecorder::RecordShown(const QString& path) {
    path_ = path;
    history_.Record(*DM_HorseStatus, path.toStdString(), Clock());
    emit Recorded();
}

void AddTrendCommand(TMainForm& form, THorseListView& list) {
    auto* recorder = new TTrendRecorder(&form);
    recorder->setObjectName(QStringLiteral("TrendRecorder"));
    QObject::connect(&form, &TMainForm::HorseTableShown, recorder, &TTrendRecorder::RecordShown);

    auto* action = new QAction(QString::fromUtf8("推移(&G)"), &form);
    action->setObjectName(QStringLiteral("Trend1"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    form.addAction(action);
    list.AddWindowAction(action);
    QObject::connect(action, &QAction::triggered, &form, [&form, &list, recorder] {
        RunHandler(&form, [&form, &list, recorder] {
            const QModelIndexList rows = list.selectionModel()->selectedRows();
            if (rows.isEmpty())
                return;
            const int slot = HorseIndexFromCaption(rows.front().data(Qt::EditRole).toString());
            auto* window = form.findChild<TTrendWindow*>();
            if (window == nullptr) {
                window = new TTrendWindow(recorder->History(), &form);
                PlaceBeside(*window, form, {Side::Right, Side::Below, Side::Left, Side::Above});
                QObject::connect(recorder, &TTrendRecorder::Recorded, window,
                                 [window] { FailureOf([window] { window->Recorded(); }); });
            }
            window->ShowHorse(recorder->Path(), slot);
            window->show();
            window->raise();
            window->activateWindow();
        });
    });
}
