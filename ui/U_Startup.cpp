// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Startup.h"

#include "U_DesktopWindows.h"
#include "U_ProgramFont.h"
#include "U_QtTranslation.h"
#include "U_TextBoxAccessible.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QSettings>

namespace {

const QString ApplicationId = QStringLiteral(STALLARK_APP_ID);

// The sizes of the PNG icons that the package installs.
constexpr int InstalledIconSizes[] = {STALLARK_ICON_SIZES};

void KeepNoSettings() {
    // Qt's file dialog reads its folder, history and column widths from a settings file that
    // every Qt program shares (QtProject.conf) when it is made, and writes them back when it
    // goes. That file is moved into a folder of the program's own resources, where there is
    // nothing to read and nothing can be written. (On Windows they would be in the registry,
    // which this does not move: there the program shows the system's own dialog instead.)
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, QStringLiteral(":/no-settings"));
}

QIcon ProgramIcon() {
    // The icon files as installed beside the program's folder, for where the icon theme does
    // not find them: a prefix outside the theme's search path, or no theme at all.
    const QString installed = QCoreApplication::applicationDirPath() +
                              "/../share/icons/hicolor/%1x%1/apps/" + ApplicationId + ".png";
    QIcon files;
    for (const int size : InstalledIconSizes)
        if (QFile::exists(installed.arg(size)))
            files.addFile(QDir::cleanPath(installed.arg(size)), QSize(size, size));
    return QIcon::fromTheme(ApplicationId, files);
}

} // namespace

void SetUpApplication() {
    QGuiApplication::setDesktopFileName(ApplicationId);
    QCoreApplication::setApplicationVersion(QStringLiteral(STALLARK_VERSION));
    // Without one the window system chooses, as Windows does from the program's icon resource.
    if (const QIcon icon = ProgramIcon(); !icon.isNull())
        QApplication::setWindowIcon(icon);
    KeepNoSettings();
    UseProgramFont();
    UseQtTranslation();
    UseWholeTextBoxes();
    KeepModalDialogsOnScreen();
}

TViewer::TViewer() : previousMainForm_(MainForm) {
    mainForm_ = std::make_unique<TMainForm>();
    MainForm = mainForm_.get();
    dataModules_ = std::make_unique<TDataModules>();
}

TViewer::~TViewer() {
    dataModules_.reset();
    mainForm_.reset();
    MainForm = previousMainForm_;
}
