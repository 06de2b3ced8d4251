// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>

#include <memory>

class THorseChangeLog;
class TListSide;

namespace Ui {
class ChangesWindow;
}

// 変更点: the change log beside the list, a modeless dialog. It only shows the log, which
// lives on when the window is closed; 最終読込 says when a version was last shown, and a line
// says so while nothing has changed yet. Esc closes it.
class TChangesWindow : public QDialog {
    Q_OBJECT
public:
    TChangesWindow(THorseChangeLog* log, QWidget* parent);
    ~TChangesWindow() override;

private:
    void ShowLastRead();

    std::unique_ptr<Ui::ChangesWindow> ui;
    THorseChangeLog* log_;
};

// Adds the 変更点 command, Ctrl+H, and the log it shows, which records every version the list
// shows from now on. The window is made the first time the command runs.
void AddChangesCommand(TListSide& side);
