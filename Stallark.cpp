// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Start-up: the main window first, then the three data modules, then the event loop.
#include "U_DataModules.h"
#include "U_MainWindow.h"
#include "U_ProgramFont.h"
#include "U_QtTranslation.h"

#include <QApplication>

#ifdef STALLARK_QUIT_WHEN_PAINTED // only in the start-up benchmark's copy of the viewer
#include "QuitWhenPainted.h"
#endif

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    UseProgramFont();
    UseQtTranslation();

    TMainForm mainForm;
    MainForm = &mainForm;
    const TDataModules dataModules;

    MainForm->show();
#ifdef STALLARK_QUIT_WHEN_PAINTED
    new QuitWhenPainted(*MainForm);
#endif
    return QApplication::exec();
}
