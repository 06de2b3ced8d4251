// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_DataModules.h"
#include "U_FileFollower.h"
#include "U_ListSide.h"
#include "U_MainWindow.h"

#include <memory>

// Gives the application object what start-up sets on it: the id of the installed desktop
// entry, so that a compositor or a dock matches the window with that entry and its icon; the
// version; the windows' icon, for the window managers that do not look the entry up; settings
// that Qt keeps nowhere; the program's font; Qt's own texts in Japanese; tooltips whose text
// can be read; the desktop's light or dark appearance, followed while it runs. No display name
// is set: the application's title stays the program file's name.
void SetUpApplication();

// The running program as start-up makes it, in this order: the main window MainForm, then the
// data modules DM_HorseStatus, DM_FileAccess and DM_Analyze, and last the commands of the
// windows beside the list, wired to the list's window. The follower, which reads every version
// the list shows, comes before them all. They live as long as this object; when it goes, each
// global name points where it pointed before, so that a test or a benchmark can make one after
// another.
class TViewer {
public:
    TViewer();
    ~TViewer();
    TViewer(const TViewer&) = delete;
    TViewer& operator=(const TViewer&) = delete;

    TMainForm& MainWindow() const { return *mainForm_; }
    TDataModules& DataModules() const { return *dataModules_; }
    TFileFollower& Follower() const { return *follower_; }

private:
    TMainForm* previousMainForm_;
    std::unique_ptr<TFileFollower> follower_;
    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TDataModules> dataModules_;
    std::unique_ptr<TListSide> listSide_;
};
