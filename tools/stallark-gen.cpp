// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Writes a demo horse data file for trying the viewer: stallark-gen [FILE [SIZE]].
#include "HorseFileWriter.h"
#include "U_FileAccess.h"
#include "U_FilePath.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

// With the size of a file when none is given.
const char* const Usage = "Usage: stallark-gen [FILE [SIZE]]\n"
                          "Writes a demo horse data file of invented horses: FILE, demo.dat when\n"
                          "not given, of SIZE bytes, %lld when not given.\n";

} // namespace

int main(int argc, char** argv) {
    // An option is never taken for a file name: --help would otherwise be a file of that name.
    if (argc > 1 && argv[1][0] == '-') {
        const std::string option = argv[1];
        const bool help = option == "-h" || option == "--help";
        std::fprintf(help ? stdout : stderr, Usage,
                     static_cast<long long>(HorseFileLayouts[0].FileSize));
        return help ? 0 : 1;
    }
    try {
        // The command line comes in the system's own encoding (the ANSI code page on Windows);
        // the writer takes UTF-8.
        const std::string path =
            argc > 1 ? Utf8FromFilePath(std::filesystem::path(argv[1])) : "demo.dat";
        const std::int64_t size = argc > 2 ? std::stoll(argv[2]) : HorseFileLayouts[0].FileSize;
        WriteHorseFile(path, size, MakeDemoBlock());
        std::printf("%s: %lld bytes\n", path.c_str(), static_cast<long long>(size));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stallark-gen: %s\n", error.what());
        return 1;
    }
}
