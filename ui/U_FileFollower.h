// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include "U_FileAccess.h"

#include <memory>
#include <optional>

// Tells when the followed file has changed and the writes have stopped. The system reports
// each change (QFileSystemWatcher: inotify on Linux, change notifications on Windows), and
// Settled comes once none has come for the quiet period. A reload that fails asks for another
// try with RetryLater, after a longer pause each time, for a few seconds; after that only the
// next change brings one. There is no timer while nothing changes.
class TFileFollower : public QObject {
    Q_OBJECT
public:
    static constexpr int QuietPeriodMs = 100;

    explicit TFileFollower(QObject* parent = nullptr);

    // Follows `path` from now on, in place of the file followed before.
    void Follow(const QString& path);
    const QString& Path() const { return path_; }
    // Watches the file the path names now: after a rename over it or a deletion that is another
    // file or none, and while there is none, its folder, for the file to come back.
    void Rewatch();
    // The same, once `read` has been read at the path, only when it is not the file watched;
    // true when it was not, and the file is to be read again for what came before the watch.
    bool Rewatch(const FileVersion& read);
    // The system still watches a file at the path (it drops one deleted or renamed away).
    bool WatchesFile() const { return watcher_ && !watcher_->files().isEmpty(); }
    // Asks for Settled again after the next pause; false once the pauses have run out.
    bool RetryLater();

signals:
    void Settled();

private:
    void Changed();

    // Made with the first file followed, so that start-up makes none.
    std::unique_ptr<QFileSystemWatcher> watcher_;
    QTimer quiet_;
    QTimer retry_;
    int retries_ = 0;
    QString path_;
    std::optional<FileVersion> watched_; // the file watched, once known
    bool fresh_ = false;                 // watched since the last read
};
