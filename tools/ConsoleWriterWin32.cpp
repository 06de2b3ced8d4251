// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// stallark-dump's output on Windows. A console reads the bytes a program writes in its own code
// page, so UTF-8 bytes come out garbled there; WriteConsoleW takes the text as UTF-16 instead.
// A file or a pipe gets the UTF-8 bytes, with the "\r\n" line ends of a text stream.
#include "ConsoleWriter.h"
#include "U_FileAccess.h"
#include "U_FilePathWin32.h"

#include <algorithm>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

// In pieces, as older consoles take only so much at once, never splitting a surrogate pair.
bool WriteConsoleText(HANDLE console, const std::wstring& text) {
    constexpr std::size_t MaxPiece = 8192;
    for (std::size_t done = 0; done < text.size();) {
        std::size_t count = std::min(text.size() - done, MaxPiece);
        if (done + count < text.size() && IS_HIGH_SURROGATE(text[done + count - 1]))
            --count;
        DWORD written = 0;
        if (!::WriteConsoleW(console, text.data() + done, static_cast<DWORD>(count), &written,
                             nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool WriteStandard(StandardStream stream, std::string_view text) {
    const bool output = stream == StandardStream::Output;
    const HANDLE handle = ::GetStdHandle(output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode))
        return WriteConsoleText(handle, Utf16FromUtf8(text, false));
    return WriteBytes(stream, text);
}

void WriteOutputFile(const std::string& path, std::string_view text) {
    const HANDLE file = ::CreateFileW(WindowsFilePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        RaiseInOutError(static_cast<int>(::GetLastError()));
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    for (std::size_t done = 0; done < crlf.size();) {
        const DWORD wanted =
            static_cast<DWORD>(std::min<std::size_t>(crlf.size() - done, 1u << 30));
        DWORD written = 0;
        const BOOL ok = ::WriteFile(file, crlf.data() + done, wanted, &written, nullptr);
        if (!ok || written == 0) {
            const DWORD writeError = ok ? ERROR_WRITE_FAULT : ::GetLastError();
            ::CloseHandle(file);
            RaiseInOutError(static_cast<int>(writeError));
        }
        done += written;
    }
    if (!::CloseHandle(file))
        RaiseInOutError(static_cast<int>(::GetLastError()));
}
