// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ColorScheme.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolTip>

#include <memory>
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

// Fusion's drawing with the sizes of the light style it stands in for: the menu bar, frames,
// headers and buttons keep their sizes, and nothing moves when the appearance changes.
class TDarkStyle : public QProxyStyle {
public:
    explicit TDarkStyle(QStyle* light) : QProxyStyle(QStringLiteral("Fusion")), light_(light) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        return light_->pixelMetric(metric, option, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        return light_->sizeFromContents(type, option, size, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_MainWindow_SpaceBelowMenuBar) // the list starts where it did
            return light_->styleHint(hint, option, widget, returned);
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override {
        // A frame's contents: the list's rows start where they did.
        if (element == SE_ShapedFrameContents || element == SE_FrameContents)
            return light_->subElementRect(element, option, widget);
        return QProxyStyle::subElementRect(element, option, widget);
    }

private:
    std::unique_ptr<QStyle> light_;
};

} // namespace

QPalette DarkPalette() {
    const QColor text(0xF0, 0xF0, 0xF0);
    QPalette palette(text, QColor(0x40, 0x40, 0x40)); // the window's colour
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    // Lists and boxes darker than the window, so that Fusion's grid lines, a shade darker than
    // the window, still part the rows as they do in the light theme.
    palette.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    palette.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
    palette.setColor(QPalette::Button, QColor(0x44, 0x44, 0x44));
    palette.setColor(QPalette::Light, QColor(0x60, 0x60, 0x60));
    palette.setColor(QPalette::Midlight, QColor(0x50, 0x50, 0x50));
    palette.setColor(QPalette::Mid, QColor(0x70, 0x70, 0x70)); // the chart's rings
    palette.setColor(QPalette::Dark, QColor(0x28, 0x28, 0x28));
    palette.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    palette.setColor(QPalette::ToolTipBase, QColor(0x48, 0x48, 0x48));
    palette.setColor(QPalette::PlaceholderText, QColor(0xA8, 0xA8, 0xA8));
    // White on this blue is 6.5:1: the chosen rows and menu items.
    palette.setColor(QPalette::Highlight, QColor(0x2A, 0x5C, 0xAA));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x8A, 0xB4, 0xF8));
    palette.setColor(QPalette::LinkVisited, QColor(0xC5, 0x8A, 0xF9));
    // Greyed, yet still 4.5:1 on the window and the buttons.
    const QColor greyed(0xB4, 0xB4, 0xB4);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, greyed);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x36, 0x36, 0x36));
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
        // Fusion draws with the palette; where the desktop's style is another (Windows' own),
        // Fusion draws with its sizes.
        if (ShownDark->Style.compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
            if (QStyle* light = QStyleFactory::create(ShownDark->Style))
                QApplication::setStyle(new TDarkStyle(light));
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
