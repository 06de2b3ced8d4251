// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT
// Goes through the pages of the installer or the uninstaller whose window's title starts with
// TITLE (a page may add its own after it), as a user who presses the default button on each,
// and measures every text on every page in the font its control draws it with: a text that does
// not fit its control, or a paragraph whose last line holds no more than its last two
// characters (い。 alone), is a fault. Prints each page's texts
// and faults as UTF-8 and exits with the number of faults; 100 when the window never shows.
//   installer-pages TITLE FACE POINTS
// FACE and POINTS are the pages' font as the installer sets it: a font belongs to the process
// that made it, so this one makes its own, as the installer does: the headings' in bold, the
// welcome and finish pages' titles in 12-point bold.
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

void print(const std::wstring& line) {
    const std::string bytes = utf8(line + L"\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(bytes.size()), &written,
              nullptr);
}

std::wstring textOf(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), int(text.size())));
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The height that TEXT takes when DrawText wraps it at WIDTH, as a static control draws it.
int wrappedHeight(HDC dc, const std::wstring& text, int width, UINT flags) {
    RECT rect{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &rect, flags | DT_CALCRECT);
    return flags & DT_SINGLELINE ? rect.right : rect.bottom;
}

struct Page {
    std::vector<std::wstring> faults;
    HFONT text = nullptr;
    HFONT heading = nullptr;
    HFONT title = nullptr;
    // The welcome or finish page's title: the topmost text beside that page's picture.
    HWND titleControl = nullptr;
};

// The installer's header title (1037) is in bold.
constexpr int headingId = 1037;

HFONT makeFont(const wchar_t* face, int points, int weight) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                       face);
}

BOOL CALLBACK findTitle(HWND control, LPARAM pageAddress) {
    Page& page = *reinterpret_cast<Page*>(pageAddress);
    if (classOf(control) != L"Static" || !IsWindowVisible(control) || textOf(control).empty())
        return TRUE;
    RECT rect;
    GetWindowRect(control, &rect);
    RECT best{};
    if (page.titleControl)
        GetWindowRect(page.titleControl, &best);
    if (!page.titleControl || rect.top < best.top)
        page.titleControl = control;
    return TRUE;
}

// Measures one control; pushes buttons' and labels' faults.
void measure(HWND control, Page& page) {
    if (!IsWindowVisible(control))
        return;
    const std::wstring name = classOf(control);
    const std::wstring text = textOf(control);
    if (text.empty() || (name != L"Static" && name != L"Button"))
        return;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT client;
    GetClientRect(control, &client);
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
    int width = client.right;
    if (name == L"Static") {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
            type != SS_LEFTNOWORDWRAP)
            return;
        if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP)
            flags = DT_SINGLELINE | DT_NOPREFIX;
        if (style & SS_NOPREFIX)
            flags |= DT_NOPREFIX;
    } else {
        // Buttons draw on one line within their frame; a check box or a radio button beside its
        // box; a group box's caption over its frame.
        const LONG type = style & BS_TYPEMASK;
        flags = DT_SINGLELINE;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
            width -= 2 * (GetSystemMetrics(SM_CXEDGE) + 2);
        else if (type == BS_GROUPBOX)
            width -= 16;
        else
            width -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
    }
    HFONT own = control == page.titleControl          ? page.title
                : GetDlgCtrlID(control) == headingId ? page.heading
                                                      : page.text;
    HDC dc = GetDC(control);
    HGDIOBJ font = SelectObject(dc, own);
    const bool singleLine = flags & DT_SINGLELINE;
    const int needed = wrappedHeight(dc, text, width, flags);
    if (singleLine ? needed > width : needed > client.bottom)
        page.faults.push_back(L"cut: " + name + L" 「" + text + L"」 needs " +
                              std::to_wstring(needed) + L" of " +
                              std::to_wstring(singleLine ? width : int(client.bottom)));
    // Each paragraph: does it take more lines than itself without its last two characters?
    for (size_t start = 0; !singleLine && start < text.size();) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == L'\r')
            paragraph.pop_back();
        if (paragraph.size() > 2 &&
            wrappedHeight(dc, paragraph, width, flags) >
                wrappedHeight(dc, paragraph.substr(0, paragraph.size() - 2), width, flags))
            page.faults.push_back(L"alone on its line: 「" + paragraph.substr(paragraph.size() - 2) +
                                  L"」 of 「" + paragraph + L"」");
        start = end + 1;
    }
    SelectObject(dc, font);
    ReleaseDC(control, dc);
    print(L"  " + name + L": " + text);
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK findWindow(HWND window, LPARAM searchAddress) {
    Search& search = *reinterpret_cast<Search*>(searchAddress);
    if (IsWindowVisible(window) && textOf(window).rfind(search.title, 0) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK measureEach(HWND control, LPARAM page) {
    measure(control, *reinterpret_cast<Page*>(page));
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        print(L"usage: installer-pages TITLE FACE POINTS");
        return 100;
    }
    const int points = _wtoi(argv[3]);
    HFONT text = makeFont(argv[2], points, FW_NORMAL);
    HFONT heading = makeFont(argv[2], points, FW_BOLD);
    HFONT title = makeFont(argv[2], 12, FW_BOLD);
    Search search{argv[1]};
    for (int tries = 0; !search.found && tries < 600; ++tries) {
        EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
        Sleep(100);
    }
    HWND window = search.found;
    if (!window) {
        print(L"no window " + std::wstring(argv[1]));
        return 100;
    }
    // A page is measured once it shows and its default button (1) can be pressed, and again
    // whenever the page or that button's text changes; then the button is pressed. The page of
    // the progress bar goes on by itself when it has finished: it is pressed only when it has not
    // gone on within a few seconds. The window's going ends the run.
    int faults = 0;
    int pages = 0;
    HWND lastPage = nullptr;
    std::wstring lastButton;
    DWORD measuredAt = 0;
    bool pressed = false;
    for (int tries = 0; IsWindow(window) && tries < 1200; ++tries, Sleep(100)) {
        HWND inner = FindWindowExW(window, nullptr, L"#32770", nullptr);
        HWND button = GetDlgItem(window, 1);
        if (!inner || !button || !IsWindowVisible(inner) || !IsWindowEnabled(button) ||
            !IsWindowVisible(button))
            continue;
        const bool progress = FindWindowExW(inner, nullptr, L"msctls_progress32", nullptr);
        if (inner != lastPage || textOf(button) != lastButton) {
            lastPage = inner;
            lastButton = textOf(button);
            Page page{{}, text, heading, title, nullptr};
            // A page with a picture beside its texts is the welcome or the finish page.
            HWND picture = FindWindowExW(inner, nullptr, L"Static", nullptr);
            for (; picture; picture = FindWindowExW(inner, picture, L"Static", nullptr))
                if ((GetWindowLongW(picture, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
                    break;
            if (picture)
                EnumChildWindows(inner, findTitle, reinterpret_cast<LPARAM>(&page));
            print(L"page " + std::to_wstring(++pages) + L":");
            EnumChildWindows(window, measureEach, reinterpret_cast<LPARAM>(&page));
            for (const std::wstring& fault : page.faults)
                print(L"FAULT " + fault);
            faults += int(page.faults.size());
            measuredAt = GetTickCount();
            pressed = false;
        }
        if (!pressed && (!progress || GetTickCount() - measuredAt > 3000)) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), LPARAM(button));
            pressed = true;
        }
    }
    print(L"pages: " + std::to_wstring(pages) + L", faults: " + std::to_wstring(faults));
    return IsWindow(window) ? 100 : faults;
}
