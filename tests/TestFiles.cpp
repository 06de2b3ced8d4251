#include "TestFiles.h"

#include <cstdlib>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "stallark-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void PutHorse(HorseBlock& block, int index, const HorseRecordFields& horse) {
    EncodeRecord(horse,
                 std::span<std::uint8_t, RecordSize>(
                     block.data() + static_cast<std::size_t>(index) * RecordSize, RecordSize));
}
