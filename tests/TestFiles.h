// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "HorseFileWriter.h"
#include "U_FilePath.h"

#include <filesystem>
#include <string>
#include <vector>

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

// Writes into `dir` a regular file of every size near and around the recognised ones (each one
// byte short and one long, empty, one byte, the block alone, the block's end) and returns
// their paths: files the reader must refuse without an error.
std::vector<std::string> MakeWrongSizedFiles(const TempDir& dir);
