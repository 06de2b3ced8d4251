// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// What the tests have only on Linux (TestFilesLinux.cpp).
#include "TestFiles.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// The home folder of this test program. Every test program runs with a home and XDG folders
// of its own (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME, XDG_STATE_HOME, and
// XDG_RUNTIME_DIR beside the home), made empty before main and removed when the program ends,
// so that nothing a test runs reads or writes the user's own.
std::filesystem::path TestHome();

// Writes into `dir` every file that is no regular file of a readable size, and returns their
// paths with those of such files the system has: the recognised sizes past 4 GiB, which a
// 32-bit size would mistake for them (sparse), a FIFO with no writer, a socket, a folder and
// devices. The reader must refuse them without an error and without waiting.
std::vector<std::string> MakeSpecialFiles(const TempDir& dir);

// The wrong sizes and the special files together: everything the reader refuses.
std::vector<std::string> MakeRefusedFiles(const TempDir& dir);

// A path under `dir` that names no file the reader can open, with the I/O error it raises.
struct FailingPath {
    std::string Path;
    std::string Message;
    int ErrorCode;
    int SystemErrno;
};
// Makes the links some of them need: missing files and folders, dangling and looping links, a
// file used as a folder, a name too long, a name with a NUL byte and the empty name.
std::vector<FailingPath> MakeFailingPaths(const TempDir& dir);

// Runs `check` in a forked child and returns what it returned ("" for success). When this
// process is root, the child first becomes user and group 65534 (nobody); returns nothing when
// it cannot.
std::optional<std::string> RunAsNobody(const std::function<std::string()>& check);

// Gives the FIFO at `path` a writer if the reader is still stuck opening it after ten seconds,
// so that a reader that waits fails its test instead of hanging it. Any other path is left
// alone.
class FifoWatchdog {
public:
    explicit FifoWatchdog(std::string path);
    ~FifoWatchdog();
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;
    bool Fired() const { return fired_; }

private:
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopped_ = false;
    std::atomic<bool> fired_ = false;
    std::thread thread_;
};
