// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "HorseFileWriter.h"
#include "U_FilePath.h"

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
    // The UTF-8 path of `name` (UTF-8 too) in the folder.
    std::string File(const std::string& name) const {
        return Utf8FromFilePath(path_ / FilePathFromUtf8(name));
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Puts `horse` into record `index` of `block`.
void PutHorse(HorseBlock& block, int index, const HorseRecordFields& horse);

// Runs `check` in a forked child and returns what it returned ("" for success). With
// `unprivileged` and when this process is root, the child first becomes user and group 65534
// (nobody); returns nothing when it cannot. Linux only.
std::optional<std::string> RunInChild(bool unprivileged, const std::function<std::string()>& check);
