// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_DesktopWindows.h"

#include <gtest/gtest.h>
#include <QByteArrayList>
#include <QtGlobal>

// In a GNOME session on Wayland the program runs through X, unless the user chose a platform;
// any other session or desktop is left to Qt.
TEST(DesktopPlatform, GnomeOnWaylandRunsThroughXUnlessAPlatformIsChosen) {
    const char* const names[] = {"QT_QPA_PLATFORM", "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP"};
    QByteArrayList kept;
    for (const char* name : names)
        kept << qgetenv(name);
    const auto set = [&](const QByteArrayList& values) {
        for (int n = 0; n < 3; ++n)
            values[n].isEmpty() ? qunsetenv(names[n]) : qputenv(names[n], values[n]);
    };
    struct Case {
        QByteArrayList Environment; // the three variables as the session sets them
        QByteArray Platform;        // QT_QPA_PLATFORM afterwards
    } const cases[] = {
        {{"", "wayland", "GNOME"}, "xcb;wayland"},
        {{"", "wayland", "ubuntu:GNOME"}, "xcb;wayland"},
        {{"", "wayland", "gnome-classic:gnome"}, "xcb;wayland"},
        {{"wayland", "wayland", "GNOME"}, "wayland"},
        {{"", "x11", "GNOME"}, ""},
        {{"", "wayland", "KDE"}, ""},
        {{"", "wayland", "GNOME-Flashback"}, ""},
        {{"", "wayland", ""}, ""},
    };
    for (const Case& c : cases) {
        set(c.Environment);
        PreferDesktopPlatform();
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), c.Platform) << c.Environment.join(' ').toStdString();
    }
    set(kept);
}
