// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// What only Linux has: a private home set before main, files that are no regular file, links,
// a forked child, the switch to an unprivileged user, and the failures of errno.
#include "TestFilesLinux.h"

#include "FailingCalls.h"

#include "U_FileAccess.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <grp.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Made before main, so that the variables are set before anything reads them. (RunAsNobody's
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

namespace {

// A file of `size` bytes that takes almost no disk space.
void MakeSparse(const std::string& path, std::int64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    struct stat status {};
    const bool made = fd >= 0 && ::ftruncate(fd, size) == 0 && ::fstat(fd, &status) == 0 &&
                      status.st_size == size && status.st_blocks * 512 < (1 << 20);
    if (fd >= 0)
        ::close(fd);
    if (!made)
        throw std::runtime_error("cannot make the sparse file " + path);
}

} // namespace

std::vector<std::string> MakeSpecialFiles(const TempDir& dir) {
    std::vector<std::string> paths;
    for (const HorseFileLayout& layout : HorseFileLayouts) {
        paths.push_back(dir.File("sparse" + std::to_string(layout.FileSize) + ".dat"));
        MakeSparse(paths.back(), (std::int64_t{1} << 32) + layout.FileSize);
    }
    paths.push_back(dir.File("fifo"));
    if (::mkfifo(paths.back().c_str(), 0644) != 0)
        throw std::runtime_error("cannot make a FIFO");
    // The socket's file stays when its descriptor is closed.
    paths.push_back(dir.File("socket"));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, paths.back().c_str(), sizeof address.sun_path - 1);
    const bool bound = socket >= 0 && ::bind(socket, reinterpret_cast<const sockaddr*>(&address),
                                             sizeof address) == 0;
    if (socket >= 0)
        ::close(socket);
    if (!bound)
        throw std::runtime_error("cannot make a socket");
    paths.push_back(dir.Path().string());
    paths.push_back("/dev/null");
    paths.push_back("/dev/zero");
    return paths;
}

std::vector<std::string> MakeRefusedFiles(const TempDir& dir) {
    std::vector<std::string> paths = MakeWrongSizedFiles(dir);
    for (std::string& path : MakeSpecialFiles(dir))
        paths.push_back(std::move(path));
    return paths;
}

std::vector<FailingPath> MakeFailingPaths(const TempDir& dir) {
    const std::string file = dir.File("a-file.dat");
    WriteBytes(file, std::vector<std::uint8_t>(1000, 1));
    const std::string loop = dir.File("loop");
    const std::string loopA = dir.File("loop-a");
    const std::string loopB = dir.File("loop-b");
    const std::string dangling = dir.File("dangling");
    std::filesystem::create_symlink(loop, loop);
    std::filesystem::create_symlink(loopB, loopA);
    std::filesystem::create_symlink(loopA, loopB);
    std::filesystem::create_symlink(dir.File("gone.dat"), dangling);

    const std::string notFound = "ファイルが見つかりません";
    const std::string badName = "不正なファイル名です";
    return {
        {dir.File("missing.dat"), notFound, 2, ENOENT},
        {dir.File("missing-folder/horses.dat"), notFound, 2, ENOENT},
        {dangling, notFound, 2, ENOENT},
        {"", notFound, 2, ENOENT},
        {file + "/horses.dat", badName, 3, ENOTDIR},
        {dir.File(std::string(300, 'x')), badName, 3, ENAMETOOLONG},
        {loop, badName, 3, ELOOP},
        {loopA, badName, 3, ELOOP},
        // No file name holds a NUL: cut there, the name would open another file.
        {file + std::string(1, '\0') + ".txt", "I/O エラー (" + std::to_string(EINVAL) + ")",
         EINVAL, EINVAL},
    };
}

namespace {

constexpr int CannotDropPrivileges = 97;
constexpr uid_t Nobody = 65534;

} // namespace

std::optional<std::string> RunAsNobody(const std::function<std::string()>& check) {
    int report[2];
    if (::pipe(report) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child < 0)
        return "fork failed";
    if (child == 0) {
        ::close(report[0]);
        if (::geteuid() == 0 &&
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

FifoWatchdog::FifoWatchdog(std::string path)
    : thread_([this, path = std::move(path)] {
          std::unique_lock lock(mutex_);
          if (!stop_.wait_for(lock, std::chrono::seconds(10), [this] { return stopped_; })) {
              fired_ = true;
              const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0)
                  ::close(fd);
          }
      }) {}

FifoWatchdog::~FifoWatchdog() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    stop_.notify_one();
    thread_.join();
}

const std::string NotOpenMessage = "I/O エラー (9)";

std::vector<InjectedFailure> InjectedFailures() {
    using enum FailingCalls::Call;
    const std::string denied = "ファイルへのアクセスが拒否されました";
    const std::string tooMany = "オープンしたファイルが多すぎます";
    return {
        {Open, 13, denied},          // EACCES
        {Open, 24, tooMany},         // EMFILE
        {Size, 5, "I/O エラー (5)"}, // EIO: the number of 'access denied', not its text
        {Size, 1, denied},           // EPERM
        {Read, 5, "I/O エラー (5)"},
        {Read, 24, tooMany},
        {Read, 3, "I/O エラー (3)"},  // ESRCH: the number of 'path not found'
        {Close, 23, tooMany},         // ENFILE
        {Close, 4, "I/O エラー (4)"}, // EINTR: the file is closed, and the close not made again
    };
}
