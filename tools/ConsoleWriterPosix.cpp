// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// stallark-dump's output on Linux: the UTF-8 bytes as they are, to a terminal too.
#include "ConsoleWriter.h"
#include "U_FileAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool WriteStandard(StandardStream stream, std::string_view text) {
    return WriteBytes(stream, text);
}

void WriteOutputFile(const std::string& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        RaiseInOutError(errno);
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int writeErrno = written < 0 ? errno : EIO;
            ::close(fd);
            RaiseInOutError(writeErrno);
        }
        done += static_cast<std::size_t>(written);
    }
    if (::close(fd) != 0)
        RaiseInOutError(errno);
}
