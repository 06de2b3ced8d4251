// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include "U_Failure.h"

#include <functional>
#include <optional>
#include <string>

class QMessageBox;
class QWidget;

// The application's title: the program file's name without its folder and without everything
// from its first ".", every character after the first lower-cased ("Stallark" for Stallark).
QString ApplicationTitleFor(const QString& programPath);
QString ApplicationTitle();

// A failure message as the error box shows it: a "." is appended when the last byte sorts
// above "." (every multi-byte character does); an empty message stays empty.
std::string WithClosingPeriod(const std::string& message);

// Shows `message` the way every failure is shown: a modal box with the error icon and an OK
// button, titled with the application's title.
void ShowErrorMessage(QWidget* parent, const std::string& message);

// Shows the made box and waits until it is closed. Tests replace it so that they read the box
// instead, and no box waits for a person.
extern std::function<void(QMessageBox& box)> RunErrorBox;

// Runs one of our event handlers. Qt must never see an exception leave our code, so every
// handler goes through here: whatever it throws is shown by ShowErrorMessage and the program
// carries on.
void RunHandler(QWidget* parent, const std::function<void()>& handler);
