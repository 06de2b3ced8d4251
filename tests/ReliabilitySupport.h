// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Tools of the hostile-file and soak tests: the texts of the list, a snapshot of everything a
// failed load must leave alone, and a watch that stops the reader at its system calls. (The
// child process that runs as an unprivileged user is RunInChild in TestFiles.h.)

#include "TestFiles.h"
#include "U_HorseStatus.h"

#include <QList>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAbstractItemView;

// Everything a load that fails must leave as it was: every column of the horse table, every
// text of the list and which rows are selected.
struct ViewState {
    TDM_HorseStatus Table;
    QList<QStringList> Rows;
    QList<int> SelectedRows;

    static ViewState Of(const TDM_HorseStatus& table, const QAbstractItemView* list);
    // Empty when `other` equals this, else what differs.
    std::string DifferenceFrom(const ViewState& other) const;
};

// One system call by which the reader looks at an open file or closes it.
struct FileCall {
    enum Kind { Size, Read, Close } What;
    long Number;         // the system call
    int Fd;              // its descriptor
    std::int64_t Offset; // for pread and preadv, the file offset; else -1
};

// Answers a stopped call: 0 lets it go on, an errno makes it fail with that error instead.
using FileCallAnswer = std::function<int(const FileCall&)>;

// Runs `work` on a thread of its own on which every size query (fstat, newfstatat, statx),
// every read (read, pread64, readv, preadv, preadv2) and every close stops before the kernel
// carries it out. `onCall` then runs on the calling thread, while the work waits: a test can
// change the file exactly between two steps of the reader, or make a step fail. Returns the
// calls seen, or nothing when the kernel offers no such stop (seccomp user notification).
std::optional<std::vector<FileCall>> WatchFileCalls(const std::function<void()>& work,
                                                    const FileCallAnswer& onCall);

// The same stops for the calling thread itself, for the rest of the process, as a thread's
// watch cannot be taken off again: for a forked child only. `onCall` runs on a thread of its
// own. False when the kernel offers no such stop.
bool WatchThisThreadForGood(FileCallAnswer onCall);
