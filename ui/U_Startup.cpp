// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Startup.h"

#include "U_DesktopWindows.h"
#include "U_ProgramFont.h"
#include "U_QtTranslation.h"
#include "U_TextBoxAccessible.h"

#include <QGuiApplication>

void SetUpApplication() {
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.stallark.stallark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(STALLARK_VERSION));
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
