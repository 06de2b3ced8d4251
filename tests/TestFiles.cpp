// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "TestFiles.h"

#include "U_FileAccess.h"

#include <random>
#include <stdexcept>

TempDir::TempDir() {
    // A name nobody else has, made and claimed in one step, readable by the owner alone.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ =
            std::filesystem::temp_directory_path() / ("stallark-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(path_)) {
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
            return;
        }
    }
    throw std::runtime_error("cannot make a scratch folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> MakeWrongSizedFiles(const TempDir& dir) {
    std::vector<std::string> paths;
    std::vector<std::int64_t> sizes = {0, 1, HorseBlockSize, 69'712};
    for (const HorseFileLayout& layout : HorseFileLayouts) {
        sizes.push_back(layout.FileSize - 1);
        sizes.push_back(layout.FileSize + 1);
    }
    for (const std::int64_t size : sizes) {
        paths.push_back(dir.File("size" + std::to_string(size) + ".dat"));
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        for (std::size_t n = 0; n < bytes.size(); ++n)
            bytes[n] = static_cast<std::uint8_t>(n * 13 + 1);
        WriteBytes(paths.back(), bytes);
    }
    return paths;
}
