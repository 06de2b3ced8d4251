// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "TestFiles.h"

#include <cstdlib>
#include <exception>
#include <grp.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

// Made before main, so that the variables are set before anything reads them. (RunInChild's
// children end by _exit and leave the folders to the parent.)
class PrivateHome {
public:
    PrivateHome() {
        const std::filesystem::path& root = folders_.Path();
        const std::pair<const char*, std::filesystem::path> variables[] = {
            {"HOME", Home()},
            {"XDG_CONFIG_HOME", Home() / ".config"},
            {"XDG_DATA_HOME", Home() / ".local" / "share"},
            {"XDG_CACHE_HOME", Home() / ".cache"},
            {"XDG_STATE_HOME", Home() / ".local" / "state"},
            {"XDG_RUNTIME_DIR", root / "runtime"}};
        for (const auto& [name, folder] : variables)
            ::setenv(name, folder.c_str(), 1);
        std::filesystem::create_directory(Home());
        std::filesystem::create_directory(root / "runtime");
        std::filesystem::permissions(root / "runtime", std::filesystem::perms::owner_all);
    }
    std::filesystem::path Home() const { return folders_.Path() / "home"; }

private:
    TempDir folders_;
};

const PrivateHome privateHome;

} // namespace

std::filesystem::path TestHome() {
    return privateHome.Home();
}

void PutHorse(HorseBlock& block, int index, const HorseRecordFields& horse) {
    EncodeRecord(horse,
                 std::span<std::uint8_t, RecordSize>(
                     block.data() + static_cast<std::size_t>(index) * RecordSize, RecordSize));
}

namespace {

constexpr int CannotDropPrivileges = 97;
constexpr uid_t Nobody = 65534;

} // namespace

std::optional<std::string> RunInChild(bool unprivileged,
                                      const std::function<std::string()>& check) {
    int report[2];
    if (::pipe(report) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child < 0)
        return "fork failed";
    if (child == 0) {
        ::close(report[0]);
        if (unprivileged && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0 ||
             ::geteuid() != Nobody || ::getegid() != Nobody))
            ::_exit(CannotDropPrivileges);
        std::string message;
        try {
            message = check();
        } catch (const std::exception& error) {
            message = std::string("unexpected exception: ") + error.what();
        }
        const ssize_t written = ::write(report[1], message.data(), message.size());
        ::_exit(written == static_cast<ssize_t>(message.size()) ? 0 : 1);
    }
    ::close(report[1]);
    std::string message;
    char chunk[256];
    for (ssize_t got; (got = ::read(report[0], chunk, sizeof chunk)) > 0;)
        message.append(chunk, static_cast<std::size_t>(got));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == CannotDropPrivileges)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child ended abnormally (status " + std::to_string(status) + ")";
    return message;
}
