// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Startup.h"

#include "U_ProgramFont.h"
#include "U_QtTranslation.h"

#include <QApplication>
#include <QSettings>

namespace {

const QString ApplicationId = QStringLiteral("io.github.stallark.stallark");

void KeepNoSettings() {
    // Qt's file dialog reads its folder, history and column widths from a settings file that
    // every Qt program shares (QtProject.conf) when it is made, and writes them back when it
    // goes. That file is moved into a folder of the program's own resources, where there is
    // nothing to read and nothing can be written. (On Windows the dialog's settings are in the
    // registry, which this does not move.)
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, QStringLiteral(":/no-settings"));
}

} // namespace

void SetUpApplication() {
    QGuiApplication::setDesktopFileName(ApplicationId);
    QCoreApplication::setApplicationVersion(QStringLiteral(STALLARK_VERSION));
    KeepNoSettings();
    UseProgramFont();
    UseQtTranslation();
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
