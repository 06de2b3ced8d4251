// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ErrorDisplay.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

QString ApplicationTitleFor(const QString& programPath) {
    QString name = QFileInfo(programPath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString ApplicationTitle() {
    return ApplicationTitleFor(QCoreApplication::applicationFilePath());
}

std::string WithClosingPeriod(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void ShowErrorMessage(QWidget* parent, const std::string& message) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(),
                    QString::fromStdString(WithClosingPeriod(message)), QMessageBox::Ok, parent);
    box.setObjectName("ErrorMessageBox");
    RunErrorBox(box);
}

std::function<void(QMessageBox& box)> RunErrorBox = [](QMessageBox& box) { box.exec(); };

void RunHandler(QWidget* parent, const std::function<void()>& handler) {
    if (const std::optional<std::string> failure = FailureOf(handler))
        ShowErrorMessage(parent, *failure);
}
