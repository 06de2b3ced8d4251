#pragma once

#include "HorseFileWriter.h"

#include <filesystem>
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

// Puts `horse` into record `index` of `block`.
void PutHorse(HorseBlock& block, int index, const HorseRecordFields& horse);
