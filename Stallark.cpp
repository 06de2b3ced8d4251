// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Start-up: the platform for the desktop session; the application object with its desktop entry,
// version, font and Qt's Japanese texts; the main window, then the three data modules (TViewer);
// the window shown; the event loop until it closes.
#include "U_DesktopWindows.h"
#include "U_Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    PreferDesktopPlatform();
    QApplication application(argc, argv);
    SetUpApplication();
    const TViewer viewer; // MainForm, DM_HorseStatus, DM_FileAccess, DM_Analyze
    MainForm->show();
    return QApplication::exec();
}
