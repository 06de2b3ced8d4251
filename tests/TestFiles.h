// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "HorseFileWriter.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when the
// test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The home folder of this test program. Every test program runs with a home and XDG folders
// of its own (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME, XDG_STATE_HOME, and
// XDG_RUNTIME_DIR beside the home), made empty before main and removed when the program ends,
// so that nothing a test runs reads or writes the user's own.
std::filesystem::path TestHome();

// Puts `horse` into record `index` of `block`.
void PutHorse(HorseBlock& block, int index, const HorseRecordFields& horse);

// Runs `check` in a forked child and returns what it returned ("" for success). With
// `unprivileged` and when this process is root, the child first becomes user and group 65534
// (nobody); returns nothing when it cannot.
std::optional<std::string> RunInChild(bool unprivileged, const std::function<std::string()>& check);
