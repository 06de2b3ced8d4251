// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Writes the README's pictures of the two windows: stallark-screenshots HORSEFILE OUTDIR.
// Run it on a real display (scripts/screenshots starts one under Xvfb).
#include "U_DetailWindow.h"
#include "U_Startup.h"

#include <QApplication>
#include <QTableView>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: stallark-screenshots HORSEFILE OUTDIR\n");
        return 1;
    }
    SetUpApplication();
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
        application.quit();
    });
    application.exec();
    return status;
}
