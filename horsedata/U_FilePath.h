// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <filesystem>
#include <string>

// File names travel through the program as UTF-8 on every platform. These two convert at the
// edge to the standard library's paths, which hold the system's own form: bytes on Linux,
// UTF-16 on Windows, where a plain narrow string would be read in the ANSI code page and a
// Japanese name such as 馬データ.dat would be lost.
inline std::filesystem::path FilePathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromFilePath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}
