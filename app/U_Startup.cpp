// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Startup.h"

#include "U_AbilityTableWindow.h"
#include "U_ChangesWindow.h"
#include "U_ColorScheme.h"
#include "U_DesktopWindows.h"
#include "U_DetailWindow.h"
#include "U_HorseListView.h"
#include "U_ProgramFont.h"
#include "U_QtTranslation.h"
#include "U_ReadableToolTips.h"
#include "U_TextBoxAccessible.h"

#include <QApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QSettings>

#include <algorithm>
#include <array>
#include <iterator>

namespace {

const QString ApplicationId = QStringLiteral(STALLARK_APP_ID);

// The sizes of the program's PNG icons, built into it as resources named :/icon/SIZE.png,
// smallest first.
constexpr int IconSizes[] = {STALLARK_ICON_SIZES};
static_assert(std::is_sorted(std::begin(IconSizes), std::end(IconSizes)));

// The size offered to a window system that takes every size an icon has: X11 decodes them all
// into _NET_WM_ICON when it makes a window, and its window managers scale what they get. Each
// size costs a PNG decode at start-up: the 32-pixel icon alone about 0.45 million instructions,
// all seven 13.6 million, against the 93 million of the whole start-up on X11.
constexpr int OfferedIconSize = 32;
static_assert(std::find(std::begin(IconSizes), std::end(IconSizes), OfferedIconSize) !=
              std::end(IconSizes));

// The program's icon, from the PNGs built into the program, so that its windows have it
// wherever it runs. A size is decoded the first time a window system asks for it (Windows asks
// for the two it shows): one that shows no window icon (offscreen, Wayland) decodes none.
// Window icons show in one mode only.
class TProgramIconEngine : public QIconEngine {
public:
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(OfferedIconSize, OfferedIconSize)};
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const QSize largest(std::end(IconSizes)[-1], std::end(IconSizes)[-1]);
        return size.boundedTo(largest);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        // The smallest icon that is at least as large as asked, else the largest, scaled down.
        std::size_t chosen = 0;
        while (chosen + 1 < std::size(IconSizes) &&
               (IconSizes[chosen] < size.width() || IconSizes[chosen] < size.height()))
            ++chosen;
        QPixmap& pixmap = decoded_[chosen];
        // Through QImage: QPixmap::load would also key the picture in the pixmap cache by the
        // file's time, which reads the time zone.
        if (pixmap.isNull())
            pixmap = QPixmap::fromImage(
                QImage(QStringLiteral(":/icon/%1.png").arg(IconSizes[chosen]), "PNG"));
        const QSize shown = actualSize(size, QIcon::Normal, QIcon::Off);
        if (pixmap.size() == shown)
            return pixmap;
        return pixmap.scaled(shown, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QIconEngine* clone() const override { return new TProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("TProgramIconEngine"); }

private:
    std::array<QPixmap, std::size(IconSizes)> decoded_;
};

void KeepNoSettings() {
    // Qt's file dialog reads its folder, history and column widths from a settings file that
    // every Qt program shares (QtProject.conf) when it is made, and writes them back when it
    // goes. That file is moved into a folder of the program's own resources, where there is
    // nothing to read and nothing can be written. (On Windows they would be in the registry,
    // which this does not move: there the program shows the system's own dialog instead.)
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, QStringLiteral(":/no-settings"));
}

} // namespace

void SetUpApplication() {
    QGuiApplication::setDesktopFileName(ApplicationId);
    QCoreApplication::setApplicationVersion(QStringLiteral(STALLARK_VERSION));
    QApplication::setWindowIcon(QIcon(new TProgramIconEngine));
    KeepNoSettings();
    UseProgramFont();
    UseQtTranslation();
    UseWholeTextBoxes();
    KeepModalDialogsOnScreen();
    KeepToolTipsReadable();
    FollowDesktopColorScheme();
}

TViewer::TViewer() : previousMainForm_(MainForm), follower_(std::make_unique<TFileFollower>()) {
    mainForm_ = std::make_unique<TMainForm>(*follower_);
    MainForm = mainForm_.get();
    dataModules_ = std::make_unique<TDataModules>();
    TFileFollower& follower = *follower_;
    listSide_ = std::make_unique<TListSide>(
        *mainForm_, mainForm_->ListView(), follower,
        [&follower](int slot, QWidget& parent) { ShowDetailWindow(slot, parent, follower); });
    // In the order of the list's context menu.
    AddChangesCommand(*listSide_);
    AddAbilityTableCommand(*listSide_);
}

TViewer::~TViewer() {
    dataModules_.reset();
    mainForm_.reset();
    listSide_.reset();
    follower_.reset();
    MainForm = previousMainForm_;
}
