// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QDeadlineTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <QDateTime>

#include "U_FileAccess.h"
#include "U_HorseStatus.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The whole cycle of following a file: every read of it, whoever asks for it, goes through
// here, and every version read is published to whoever shows it. The system reports each change
// (QFileSystemWatcher: inotify on Linux, change notifications on Windows); the file is read once
// none has come for the quiet period, or a second after the first change of a burst when the writer
// never pauses. After every read the watch is armed again on the file the path names now, or, while
// there is none, on the nearest folder that still exists, and the file's version is compared with
// the one before the read, so that a change that came before the watch is read too. A read that
// fails or meets a writer mid-write is tried again after a longer pause each time, for a few
// seconds; after that only the next change brings one. There is no timer while nothing changes.
class TFileFollower : public QObject {
    Q_OBJECT
public:
    static constexpr int QuietPeriodMs = 100;
    static constexpr int LongestBurstMs = 1000;
    // The pauses of the cycle. Tests shorten them, so that a case takes milliseconds.
    struct Pauses {
        int QuietMs = QuietPeriodMs;
        int LongestBurstMs = TFileFollower::LongestBurstMs;
        // About three seconds in all: long enough for a writer that holds the file while it
        // writes.
        std::vector<int> RetriesMs = {50, 100, 200, 400, 800, 1600};
    };
    Pauses Timing;

    enum class Reason {
        Open,   // a file chosen or dropped: shown from the top of the list
        Reload, // F5: shown keeping the list's place
        Follow, // the file changed: as F5, but silent, and it may be put off
    };
    // One version of the file, read whole and decoded into the horse table.
    struct Version {
        const TDM_HorseStatus& Table;
        const QString& Path;
        Reason Why;
        QDateTime At; // when it was read, in UTC
    };

    enum class State {
        Idle,     // no file followed yet
        Watching, // the watch is armed; nothing runs until the system reports a change
        Quiet,    // changed: the read waits for the quiet period or the end of the longest burst
        Retrying, // the last read failed or was unsettled: tried again after a pause
        PutOff,   // the list could not show it now, and asks again with Resume
    };

    explicit TFileFollower(QObject* parent = nullptr);

    // Whether a followed version can be shown now; while not, the read is put off until
    // Resume. F5 and opening a file are never put off.
    std::function<bool()> CanShowNow = [] { return true; };
    // The time now, in UTC. Tests move it on so that a version stands for a second without
    // the wait.
    std::function<QDateTime()> Clock = &QDateTime::currentDateTimeUtc;

    // Open, drop and F5: shows `path` now, a failure thrown to the caller, and follows it from
    // then on unless it is another file that is no horse file (that changes nothing).
    void Load(const QString& path, Reason why);
    // The automatic read, at once: silent, its failure tried again later.
    void Reload();
    // The read put off, now that the list can show it.
    void Resume();
    // The system reports a change to the file or to the folder watched for it.
    void Changed();

    const QString& Path() const { return path_; }
    State CurrentState() const { return state_; }

signals:
    // A whole version of the file has been read into the horse table, by any way of loading
    // it: the list shows it first, then every window that follows the file.
    void VersionShown(const TFileFollower::Version& version);
    // An automatic read has been made, whatever it came to.
    void Tried();

private:
    // What a read came to; a read that fails throws.
    enum class Shown { Version, NotHorseFile, Unsettled, PutOff };
    Shown Show(const QString& path, Reason why);
    void After(std::optional<Shown> shown, const std::optional<FileVersion>& before);
    std::optional<FileVersion> Arm();
    std::optional<FileVersion> VersionAtPath() const;

    State state_ = State::Idle;
    QString path_;
    // Made with the first file followed, so that start-up makes none.
    std::unique_ptr<QFileSystemWatcher> watcher_;
    std::optional<FileVersion> watched_; // the file watched, when it is a file
    QTimer timer_;                       // the quiet period's or the retry's pause
    QDeadlineTimer burstEnd_;            // the latest read of a burst of changes
    int retries_ = 0;
};
