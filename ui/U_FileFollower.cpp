// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_FileFollower.h"

#include <QFileInfo>

#include <iterator>

namespace {

// About three seconds in all: long enough for a writer that holds the file while it writes.
constexpr int RetryPausesMs[] = {50, 100, 200, 400, 800, 1600};

} // namespace

TFileFollower::TFileFollower(QObject* parent) : QObject(parent) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(QuietPeriodMs);
    quiet_.setTimerType(Qt::PreciseTimer);
    retry_.setSingleShot(true);
    connect(&quiet_, &QTimer::timeout, this, &TFileFollower::Settled);
    connect(&retry_, &QTimer::timeout, this, &TFileFollower::Settled);
}

void TFileFollower::Follow(const QString& path) {
    // The same file loaded again is watched already (the reloads keep the watch on it).
    if (path == path_ && WatchesFile())
        return;
    quiet_.stop();
    retry_.stop();
    retries_ = 0;
    path_ = path;
    Rewatch();
}

void TFileFollower::Changed() {
    retry_.stop();
    retries_ = 0;
    quiet_.start();
}

bool TFileFollower::Rewatch(const FileVersion& read) {
    const bool current = fresh_ || (watched_ && watched_->SameFile(read) && WatchesFile());
    if (!current)
        Rewatch();
    fresh_ = false;
    watched_ = read;
    return !current;
}

void TFileFollower::Rewatch() {
    watched_.reset();
    fresh_ = true;
    if (!watcher_) {
        watcher_ = std::make_unique<QFileSystemWatcher>();
        connect(watcher_.get(), &QFileSystemWatcher::fileChanged, this, &TFileFollower::Changed);
        connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, this,
                &TFileFollower::Changed);
    }
    QFileSystemWatcher& watcher = *watcher_;
    if (!watcher.files().isEmpty())
        watcher.removePaths(watcher.files());
    const QString folder = QFileInfo(path_).absolutePath();
    const auto watchFile = [this, &watcher, folder] {
        if (!QFileInfo::exists(path_) || !watcher.addPath(path_))
            return false;
        if (!watcher.directories().isEmpty())
            watcher.removePaths(watcher.directories());
        return true;
    };
    if (watchFile())
        return;
    // No file: the folder tells when one comes. Looked for once more after, so that a file
    // that came in between is not missed.
    if (watcher.directories() != QStringList{folder}) {
        if (!watcher.directories().isEmpty())
            watcher.removePaths(watcher.directories());
        watcher.addPath(folder);
    }
    watchFile();
}

bool TFileFollower::RetryLater() {
    if (retries_ >= static_cast<int>(std::size(RetryPausesMs))) {
        retries_ = 0;
        return false;
    }
    retry_.start(RetryPausesMs[retries_++]);
    return true;
}
