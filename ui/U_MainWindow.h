// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QMainWindow>

#include "U_FileFollower.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

class THorseListModel;
class TOpenDialog;

namespace Ui {
class TMainForm;
}

// The program's only top-level window: the list of the horses of the file loaded last, the
// file menu and the 詳細表示 button.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Reads, decodes and lists the horses of a file, and follows it from then on. A file of
    // unrecognised size changes nothing; an I/O failure throws and also leaves the table and
    // the list as they were.
    void LoadHorseFile(const QString& path);
    void RefreshHorseList();

    // The list follows the file it shows: once the file has changed and its writer has paused
    // (or has written for a second), the follower has it read again through here, a whole
    // version only, keeping the place in the list. It shows no box: a file of another size
    // keeps the list; one that cannot be read is tried again a few times and is then left
    // until it changes. It waits while a caption is typed over.
    void ReloadFollowedFile();

    // Asks the user for a file; returns nothing when the user cancels. Tests replace it so
    // that no dialog waits for a person.
    std::function<std::optional<QString>()> ChooseFile;

signals:
    // The list has come to show a version of `path` read just now, by any way of loading it:
    // the windows beside the list follow it through this.
    void HorseTableShown(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void O1Click();
    void Exit1Click();
    void Button1Click();
    void Reload1Click();
    // The one read of every way of loading: reads one whole version of the file and shows it.
    TFileFollower::Shown ShowFile(const QString& path, TFileFollower::Reason why);
    void RefreshKeepingPlace();
    std::optional<int> SelectedRow() const;
    std::optional<QString> RunOpenDialog();

    std::unique_ptr<Ui::TMainForm> ui;
    THorseListModel* horseList_;              // the rows of HorseListView
    std::unique_ptr<TOpenDialog> openDialog_; // keeps the last chosen file between uses
    TFileFollower* follower_;                 // the file whose rows the list shows
    bool keepingPlace_ = false;               // the list's place is being put back
};

// The horse index that a row's caption names. Throws with the message the user sees when the
// caption is not an integer or names no slot of the table.
int HorseIndexFromCaption(const QString& caption);

// The sides of the main window, in the order a new window tries them.
enum class Side { Right, Below, Left, Above };
// Places a new window beside the main window, never over it: on the first of `sides` where it
// fits whole, or else, made smaller, on the side with the most room.
void PlaceBeside(QWidget& window, const QWidget& main, const std::array<Side, 4>& sides);

extern TMainForm* MainForm;
