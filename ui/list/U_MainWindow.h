// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QMainWindow>

#include "U_FileFollower.h"

#include <functional>
#include <memory>
#include <optional>

class THorseListModel;
class THorseListView;
class TOpenDialog;

namespace Ui {
class TMainForm;
}

// The program's main window: the list of the horses of the file loaded last, the file menu
// and the 詳細表示 button. The program ends when it closes.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // The list shows every version that `follower` reads.
    explicit TMainForm(TFileFollower& follower, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Reads, decodes and lists the horses of a file, and follows it from then on. A file of
    // unrecognised size changes nothing; an I/O failure throws and also leaves the table and
    // the list as they were.
    void LoadHorseFile(const QString& path);
    void RefreshHorseList();

    // The list follows the file it shows: once the file has changed and its writer has paused
    // (or has written for a second), the follower reads it again, a whole version only, and
    // the list shows it keeping its place. No box shows: a file of another size keeps the
    // list; one that cannot be read is tried again a few times and is then left until it
    // changes.
    void ReloadFollowedFile();
    // Whether the list can show a version now: not while a caption is typed over.
    bool CanShowVersion() const;

    THorseListView& ListView() const;

    // Asks the user for a file; returns nothing when the user cancels. Tests replace it so
    // that no dialog waits for a person.
    std::function<std::optional<QString>()> ChooseFile;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void O1Click();
    void Exit1Click();
    void Button1Click();
    void Reload1Click();
    void ShowVersion(const TFileFollower::Version& version);
    void RefreshKeepingPlace();
    std::optional<int> SelectedRow() const;
    std::optional<QString> RunOpenDialog();

    std::unique_ptr<Ui::TMainForm> ui;
    THorseListModel* horseList_;              // the rows of HorseListView
    std::unique_ptr<TOpenDialog> openDialog_; // keeps the last chosen file between uses
    TFileFollower& follower_;                 // the file whose rows the list shows
    bool keepingPlace_ = false;               // the list's place is being put back
};

// The horse index that a row's caption names. Throws with the message the user sees when the
// caption is not an integer or names no slot of the table.
int HorseIndexFromCaption(const QString& caption);

extern TMainForm* MainForm;
