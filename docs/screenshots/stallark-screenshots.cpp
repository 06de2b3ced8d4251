// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Writes the README's pictures of the windows: stallark-screenshots HORSEFILE OUTDIR [dark].
// Run it on a real display (scripts/screenshots starts one under Xvfb); with "dark" the windows
// take a dark palette, to look at them in a dark theme.
#include "U_AbilityTableWindow.h"
#include "U_CompareWindow.h"
#include "U_DetailWindow.h"
#include "U_Startup.h"
#include "U_TrendWindow.h"

#include "HorseFileWriter.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPalette>
#include <QStyleFactory>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// The horse of `slot` as the table holds it, to be written again with other values.
HorseRecordFields FieldsOf(const TDM_HorseStatus& table, int slot) {
    HorseRecordFields horse;
    horse.HorseName = table.HorseName[slot];
    horse.FatherName = table.FatherName[slot];
    horse.MotherName = table.MotherName[slot];
    horse.Speed = table.Speed[slot];
    horse.Endurance = table.Endurance[slot];
    horse.Stamina = table.Stamina[slot];
    horse.Power = table.Power[slot];
    horse.Agility = table.Agility[slot];
    horse.Agreement = table.Agreement[slot];
    horse.Temper = table.Temper[slot];
    horse.Guts = table.Guts[slot];
    horse.Reactive = table.Reactive[slot];
    horse.Durability = table.Durability[slot];
    horse.LowerDistance = table.LowerDistance[slot];
    horse.UpperDistance = table.UpperDistance[slot];
    horse.ExeAbility = table.ExeAbilities(slot);
    horse.EqpAbility = table.EqpAbilities(slot);
    return horse;
}

// Six saves of a season of training, a week apart, each of a copy of the demo file in `folder`:
// the horse of `slot` grows a little in most abilities each time.
void TrainSixWeeks(TMainForm& form, const TDM_HorseStatus& table, int slot, const QString& folder,
                   qint64& now) {
    const std::string path = (folder + "/demo.dat").toStdString();
    HorseBlock block = MakeDemoBlock();
    WriteHorseFile(path, HorseFileLayouts[0].FileSize, block);
    form.LoadHorseFile(QString::fromStdString(path));
    HorseRecordFields horse = FieldsOf(table, slot);
    for (int week = 1; week < 6; ++week) {
        now += 7 * 24 * 3600 * 1000LL;
        horse.Speed = std::min(157, horse.Speed + 3 + week);
        horse.Stamina = std::min(157, horse.Stamina + 2 * week);
        horse.Power = std::min(127, horse.Power + 4);
        horse.Agility = std::min(255, horse.Agility + 6);
        horse.Guts = std::min(127, horse.Guts + week % 2 * 5);
        horse.Reactive = std::max(0, horse.Reactive - 2);
        if (week == 3)
            horse.UpperDistance = std::min(4000, horse.UpperDistance + 200);
        PutHorse(block, slot, horse);
        WriteHorseFile(path, HorseFileLayouts[0].FileSize, block);
        form.findChild<QAction*>("Reload1")->trigger();
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3 && !(argc == 4 && qstrcmp(argv[3], "dark") == 0)) {
        std::fprintf(stderr, "usage: stallark-screenshots HORSEFILE OUTDIR [dark]\n");
        return 1;
    }
    SetUpApplication();
    if (argc == 4) {
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2B));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        dark.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
        dark.setColor(QPalette::ButtonText, Qt::white);
        dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        dark.setColor(QPalette::Mid, QColor(0x70, 0x70, 0x70));
        QApplication::setPalette(dark);
    }
    const TViewer viewer;
    TMainForm& mainForm = viewer.MainWindow();

    const QString outDir = QString::fromLocal8Bit(argv[2]);
    mainForm.LoadHorseFile(QString::fromLocal8Bit(argv[1]));
    mainForm.show();
    auto* list = mainForm.findChild<QTableView*>("HorseListView");
    list->selectRow(1);

    int status = 0;
    QTimer::singleShot(300, [&] {
        if (!mainForm.grab().save(outDir + "/main-window.png"))
            status = 1;
        TDetailWindow detail(&mainForm);
        detail.HorseIndex = list->model()->index(1, 0).data().toString().toInt();
        QTimer::singleShot(300, [&] {
            if (!detail.grab().save(outDir + "/detail-window.png"))
                status = 1;
            detail.close();
        });
        detail.exec();
        // The ability table sorted by スピード, its first two rows compared.
        mainForm.findChild<QAction*>("AbilityTable1")->trigger();
        auto* table = mainForm.findChild<TAbilityTableWindow*>();
        table->SortBy(FirstBasicAbilityField);
        table->View()->selectRow(0);
        table->View()->selectionModel()->select(table->View()->model()->index(1, 0),
                                                QItemSelectionModel::Select |
                                                    QItemSelectionModel::Rows);
        table->findChild<QAction*>("Compare1")->trigger();
        QTimer::singleShot(500, [&, table] {
            if (!table->grab().save(outDir + "/ability-table.png") ||
                !table->CompareWindow()->grab().save(outDir + "/compare-window.png"))
                status = 1;
            // The 推移 of the second horse over six weeks of saves.
            QTemporaryDir folder;
            qint64 now = QDateTime(QDate(2026, 4, 4), QTime(21, 30)).toMSecsSinceEpoch();
            viewer.Follower().Clock = [&now] {
                return QDateTime::fromMSecsSinceEpoch(now, Qt::UTC);
            };
            const int slot = list->model()->index(1, 0).data().toString().toInt();
            TrainSixWeeks(mainForm, viewer.DataModules().HorseStatus, slot, folder.path(), now);
            list->selectRow(1);
            mainForm.findChild<QAction*>("Trend1")->trigger();
            // Wide enough for the chart's dates, whatever room the screen left beside the list.
            mainForm.findChild<TTrendWindow*>()->resize(820, 640);
            QTimer::singleShot(500, [&] {
                if (!mainForm.findChild<TTrendWindow*>()->grab().save(outDir + "/trend-window.png"))
                    status = 1;
                application.quit();
            });
        });
    });
    application.exec();
    return status;
}
