// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Linux only: a forked child, and the switch to an unprivileged user.
#include "TestFiles.h"

#include <exception>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

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
