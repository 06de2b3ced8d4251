// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_FileFollower.h"

#include "U_Analyze.h"
#include "U_Failure.h"

#include <QFileInfo>

#include <algorithm>
#include <iterator>

namespace {

// The folder of `path`, or the nearest one above it that exists: a folder renamed away or a
// share that dropped out is watched for from there.
QString NearestFolder(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    for (;;) {
        const QFileInfo info(folder);
        const QString above = info.absolutePath();
        if (info.isDir() || above == folder)
            return folder;
        folder = above;
    }
}

} // namespace

TFileFollower::TFileFollower(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TFileFollower::Reload);
}

std::optional<FileVersion> TFileFollower::VersionAtPath() const {
    return DM_FileAccess->VersionAt(path_.toUtf8().toStdString());
}

// Reads one whole version of the file into the horse table and publishes it.
TFileFollower::Shown TFileFollower::Show(const QString& path, Reason why) {
    if (why == Reason::Follow && !CanShowNow())
        return Shown::PutOff;
    const auto block = std::make_unique<HorseBlock>();
    const WholeRead read =
        DM_FileAccess->ReadWholeHorseBlock(path.toUtf8().toStdString(), HorseBlockSize, *block);
    if (read != WholeRead::Read)
        return read == WholeRead::Unsettled ? Shown::Unsettled : Shown::NotHorseFile;
    DM_Analyze->AnalyzeBlock(*block);
    emit VersionShown({*DM_HorseStatus, path, why, Clock()});
    return Shown::Version;
}

void TFileFollower::Load(const QString& path, Reason why) {
    const std::optional<FileVersion> before = DM_FileAccess->VersionAt(path.toUtf8().toStdString());
    const Shown shown = Show(path, why);
    if (path != path_) {
        if (shown == Shown::NotHorseFile)
            return;
        path_ = path;
        watched_.reset();
        retries_ = 0;
    }
    After(shown, before);
}

void TFileFollower::Reload() {
    if (path_.isEmpty())
        return;
    timer_.stop();
    const std::optional<FileVersion> before = VersionAtPath();
    std::optional<Shown> shown;
    // Any failure, a writer holding the file among them, is tried again a little later.
    FailureOf([this, &shown] { shown = Show(path_, Reason::Follow); });
    After(shown, before);
    emit Tried();
}

void TFileFollower::Resume() {
    if (state_ == State::PutOff)
        Reload();
}

void TFileFollower::Changed() {
    if (state_ == State::Idle || state_ == State::PutOff)
        return;
    if (state_ != State::Quiet)
        burstEnd_.setRemainingTime(Timing.LongestBurstMs, Qt::PreciseTimer);
    state_ = State::Quiet;
    retries_ = 0;
    timer_.start(static_cast<int>(std::min<qint64>(Timing.QuietMs, burstEnd_.remainingTime())));
}

// `shown` is nullopt for a read that failed; `before` is the version at the path before it.
void TFileFollower::After(std::optional<Shown> shown, const std::optional<FileVersion>& before) {
    timer_.stop();
    if (shown == Shown::PutOff) {
        state_ = State::PutOff;
        return;
    }
    const bool done = shown == Shown::Version || shown == Shown::NotHorseFile;
    state_ = State::Watching;
    if (Arm() != before)
        return Changed();
    if (done || retries_ == static_cast<int>(Timing.RetriesMs.size())) {
        retries_ = 0;
        return;
    }
    state_ = State::Retrying;
    timer_.start(Timing.RetriesMs[static_cast<std::size_t>(retries_++)]);
}

// Watches the file the path names now, and returns its version once the watch is in place:
// after a rename over it or a deletion that is another file or none. With none, the nearest
// folder that exists tells when one comes.
std::optional<FileVersion> TFileFollower::Arm() {
    if (!watcher_) {
        watcher_ = std::make_unique<QFileSystemWatcher>();
        connect(watcher_.get(), &QFileSystemWatcher::fileChanged, this, &TFileFollower::Changed);
        connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, this,
                &TFileFollower::Changed);
    }
    QFileSystemWatcher& watcher = *watcher_;
    const std::optional<FileVersion> file = VersionAtPath();
    if (file && watched_ && watched_->SameFile(*file) && !watcher.files().isEmpty())
        return file;
    if (!watcher.files().isEmpty())
        watcher.removePaths(watcher.files());
    watched_.reset();
    if (file && watcher.addPath(path_)) {
        watched_ = file;
        if (!watcher.directories().isEmpty())
            watcher.removePaths(watcher.directories());
    } else {
        const QString folder = NearestFolder(path_);
        if (watcher.directories() != QStringList{folder}) {
            if (!watcher.directories().isEmpty())
                watcher.removePaths(watcher.directories());
            watcher.addPath(folder);
        }
    }
    return VersionAtPath();
}
