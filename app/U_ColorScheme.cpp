// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ColorScheme.h"

#include <QApplication>
#include <QStyle>
#include <QToolTip>

#include <optional>

namespace {

// What the program showed before it turned dark, given back as it was when the desktop turns
// light again: the style (Windows' own style draws with the system's colours and ignores a
// palette, hence Fusion while dark) and the tooltips' palette, which Qt keeps apart from the
// application's.
struct TLightAppearance {
    QString Style;
    QPalette ToolTips;
};

// Set while the program shows its own dark appearance.
std::optional<TLightAppearance> ShownDark;

const QString DarkStyle = QStringLiteral("Fusion");

} // namespace

QPalette DarkPalette() {
    const QColor window(0x30, 0x30, 0x30), base(0x24, 0x24, 0x24), text(0xF0, 0xF0, 0xF0);
    QPalette palette(text, window, QColor(0x58, 0x58, 0x58), QColor(0x1C, 0x1C, 0x1C),
                     QColor(0x3C, 0x3C, 0x3C), text, Qt::white, base, window);
    palette.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
    palette.setColor(QPalette::Midlight, QColor(0x48, 0x48, 0x48));
    palette.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::AlternateBase, QColor(0x2C, 0x2C, 0x2C));
    palette.setColor(QPalette::ToolTipBase, QColor(0x40, 0x40, 0x40));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0xA8, 0xA8, 0xA8));
    // White on this blue is 6.3:1: the chosen rows and menu items.
    palette.setColor(QPalette::Highlight, QColor(0x2A, 0x5C, 0xAA));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x8A, 0xB4, 0xF8));
    palette.setColor(QPalette::LinkVisited, QColor(0xC5, 0x8A, 0xF9));
    // Greyed, yet still 4.5:1 on the window and the buttons.
    const QColor greyed(0xA6, 0xA6, 0xA6);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, greyed);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x48, 0x48, 0x48));
    return palette;
}

void ShowDarkColorScheme(bool dark) {
    if (dark == ShownDark.has_value())
        return;
    if (dark) {
        // A desktop that hands the program a dark palette itself (KDE's) is followed as it is.
        if (QApplication::palette().color(QPalette::Window).lightness() < 128)
            return;
        ShownDark = TLightAppearance{QApplication::style()->name(), QToolTip::palette()};
        if (ShownDark->Style.compare(DarkStyle, Qt::CaseInsensitive) != 0)
            QApplication::setStyle(DarkStyle);
        const QPalette palette = DarkPalette();
        QApplication::setPalette(palette);
        QToolTip::setPalette(palette);
    } else {
        const TLightAppearance light = *ShownDark;
        ShownDark.reset();
        QApplication::setPalette(QPalette()); // the desktop's own again
        if (light.Style.compare(QApplication::style()->name(), Qt::CaseInsensitive) != 0)
            QApplication::setStyle(light.Style);
        QToolTip::setPalette(light.ToolTips);
    }
    ShowDarkTitleBars(dark);
}

void FollowDesktopColorScheme() {
    // Drawn into memory only, such a program has no desktop whose choice it could follow.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    WatchDesktopColorScheme();
}
