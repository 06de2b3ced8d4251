// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>

#include <functional>

class QAction;
class QWidget;
class TFileFollower;
class TReportView;

// What the application hands each window beside the list: the list's window, beside which they
// are placed and with which they close; the list's view, whose context menu takes their
// commands; the follower, which publishes every version the list shows; and the way to show a
// horse's detail window. The list's window knows none of them.
class TListSide {
public:
    using DetailOpener = std::function<void(int slot, QWidget& parent)>;

    TListSide(QWidget& window, TReportView& list, TFileFollower& follower, DetailOpener detail)
        : window_(window), list_(list), follower_(follower), detail_(std::move(detail)) {}

    QWidget& Window() const { return window_; }
    TReportView& List() const { return list_; }
    TFileFollower& Follower() const { return follower_; }
    // Shows horse `slot` in a detail window over `parent`, which follows the file while open.
    void OpenDetail(int slot, QWidget& parent) const { detail_(slot, parent); }

    // A command that opens a window beside the list: in the list's context menu, below a line,
    // and its keys in the list's window and in every window beside it.
    void AddCommand(QAction* command);
    // Gives a window beside the list the keys of every command.
    void TakeCommands(QWidget& window) const;

private:
    QWidget& window_;
    TReportView& list_;
    TFileFollower& follower_;
    DetailOpener detail_;
    QList<QAction*> commands_;
};
