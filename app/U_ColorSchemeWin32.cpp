// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The desktop's choice on Windows: the default app mode of 設定 → 個人用設定 → 色, which Windows
// keeps in the user's registry. The registry tells the program when it changes.

#include "U_ColorScheme.h"
#include "U_ErrorDisplay.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWinEventNotifier>

#include <windows.h>

#include <dwmapi.h>

namespace {

// AppsUseLightTheme, 0 for dark, is in Personalize below this key. The key above is watched:
// Personalize may be made only when the user first chooses.
const wchar_t ThemesKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes";

// The title bar's dark mode: 20 since Windows 10 version 20H1, 19 before it; older systems
// know neither and keep their bars as they are.
constexpr DWORD ImmersiveDarkMode = 20, ImmersiveDarkModeBefore20H1 = 19;

bool DarkTitleBars = false;

void SetTitleBar(QWidget* window) {
    const BOOL dark = DarkTitleBars;
    const auto handle = reinterpret_cast<HWND>(window->winId());
    if (FAILED(DwmSetWindowAttribute(handle, ImmersiveDarkMode, &dark, sizeof dark)))
        DwmSetWindowAttribute(handle, ImmersiveDarkModeBefore20H1, &dark, sizeof dark);
}

// Each window gets the bar's mode as it shows, before it is on screen.
class TTitleBarKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && DarkTitleBars && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            SetTitleBar(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }
};

class TAppModeWatcher : public QObject {
public:
    TAppModeWatcher(HKEY themes, QObject* parent)
        : QObject(parent), themes_(themes), changed_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          notifier_(changed_) {
        connect(&notifier_, &QWinEventNotifier::activated, this, [this] {
            Watch(); // before reading, so that no later change goes unnoticed
            FailureOf([this] { ShowDarkColorScheme(AppsUseDark()); });
        });
        Watch();
        ShowDarkColorScheme(AppsUseDark());
    }

    ~TAppModeWatcher() override {
        notifier_.setEnabled(false);
        RegCloseKey(themes_); // ends the notification
        CloseHandle(changed_);
    }

private:
    void Watch() {
        RegNotifyChangeKeyValue(themes_, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                changed_, TRUE);
    }

    bool AppsUseDark() const {
        DWORD light = 1;
        DWORD size = sizeof light;
        return RegGetValueW(themes_, L"Personalize", L"AppsUseLightTheme", RRF_RT_REG_DWORD,
                            nullptr, &light, &size) == ERROR_SUCCESS &&
               light == 0;
    }

    HKEY themes_;
    HANDLE changed_;
    QWinEventNotifier notifier_;
};

} // namespace

void WatchDesktopColorScheme() {
    qApp->installEventFilter(new TTitleBarKeeper(qApp));
    HKEY themes = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ThemesKey, 0, KEY_QUERY_VALUE | KEY_NOTIFY, &themes) ==
        ERROR_SUCCESS)
        new TAppModeWatcher(themes, qApp);
}

void ShowDarkTitleBars(bool dark) {
    DarkTitleBars = dark;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->testAttribute(Qt::WA_WState_Created))
            SetTitleBar(window);
}
