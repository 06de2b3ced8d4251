// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Writes the README's pictures of the windows: stallark-screenshots HORSEFILE OUTDIR [dark].
// Run it on a real display (scripts/screenshots starts one under Xvfb); with "dark" the windows
// take a dark palette, to look at them in a dark theme.
#include "U_AbilityTableWindow.h"
#include "U_CompareWindow.h"
#include "U_DetailWindow.h"
#include "U_Startup.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPalette>
#include <QStyleFactory>
#include <QTableView>
#include <QTimer>

#include <cstdio>

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
            application.quit();
        });
    });
    application.exec();
    return status;
}
