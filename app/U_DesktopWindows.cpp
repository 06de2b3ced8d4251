// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_DesktopWindows.h"

#include <QApplication>
#include <QByteArrayList>
#include <QEvent>
#include <QWidget>

namespace {

class TModalDialogKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow() && window->isModal() && window->isMinimized())
                // Once the window manager has finished minimising, not inside it.
                QMetaObject::invokeMethod(
                    window,
                    [window] {
                        if (window->isVisible())
                            ShowAgain(window);
                    },
                    Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void ShowAgain(QWidget* dialog) {
        if (QWidget* parent = dialog->parentWidget(); parent != nullptr)
            parent->window()->setWindowState(parent->window()->windowState() &
                                             ~Qt::WindowMinimized);
        dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
        dialog->raise(); // over its main window, which some window managers put back on top
        dialog->activateWindow();
    }
};

} // namespace

void PreferDesktopPlatform() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qgetenv("XDG_SESSION_TYPE") != "wayland")
        return;
    for (const QByteArray& desktop : qgetenv("XDG_CURRENT_DESKTOP").toLower().split(':'))
        if (desktop == "gnome") {
            qputenv("QT_QPA_PLATFORM", "xcb;wayland");
            return;
        }
}

void KeepModalDialogsOnScreen() {
    qApp->installEventFilter(new TModalDialogKeeper(qApp));
}
