// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ProgramFont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include <utility>

namespace {

// The windows' family, then the families that stand in for it where it is missing: those that
// every Windows has, then IPAPGothic, which has the same metrics, and the other usual Japanese
// families of Debian. Each by its English and its Japanese name, the two names Qt may list it by.
const char* const ProgramFontFamilies[][2] = {{"MS PGothic", "ＭＳ Ｐゴシック"},
                                              {"Yu Gothic UI", "Yu Gothic UI"},
                                              {"Meiryo UI", "Meiryo UI"},
                                              {"Yu Gothic", "游ゴシック"},
                                              {"Meiryo", "メイリオ"},
                                              {"IPAPGothic", "IPA Pゴシック"},
                                              {"IPAGothic", "IPAゴシック"},
                                              {"Noto Sans CJK JP", "Noto Sans CJK JP"},
                                              {"VL PGothic", "VL Pゴシック"},
                                              {"TakaoPGothic", "Takao Pゴシック"}};

// Puts `font` back on the application whenever another is set on it.
class TFontKeeper : public QObject {
public:
    TFontKeeper(QFont font, QObject* parent) : QObject(parent), font_(std::move(font)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::ApplicationFontChange &&
            QApplication::font() != font_)
            QApplication::setFont(font_);
        return false;
    }

private:
    QFont font_;
};

} // namespace

QString ProgramFontFamily(const std::function<bool(const QString&)>& installed,
                          const std::function<QStringList()>& japaneseFamilies) {
    for (const auto& names : ProgramFontFamilies)
        for (const char* family : names) {
            const QString name = QString::fromUtf8(family);
            if (installed(name))
                return name;
        }
    if (const QStringList japanese = japaneseFamilies(); !japanese.isEmpty())
        return japanese.front();
    return QString::fromUtf8(ProgramFontFamilies[0][1]);
}

void UseProgramFont() {
    // The substitution is resolved here, once, against the installed families. Asked for a
    // family that is missing, Qt would first walk fontconfig's fallbacks for it, for every script
    // the windows show, before it tried a substitute: a sixth of the start-up. The names are
    // looked up in Qt's own list, which it has read by now anyway; QFontDatabase::hasFamily
    // would ask fontconfig to substitute each name first, a million instructions a name.
    const QStringList installed = QFontDatabase::families();
    QFont font(ProgramFontFamily(
        [&installed](const QString& name) { return installed.contains(name, Qt::CaseInsensitive); },
        [] { return QFontDatabase::families(QFontDatabase::Japanese); }));
    font.setPixelSize(12);
    QApplication::setFont(font);
    // A Qt settings tool (qt6ct) gives the application its own font once the program has
    // started, and again whenever its settings change; the windows' fixed sizes (the list's
    // 17-pixel rows, the boxes) hold for the program's font only, so it is put back.
    qApp->installEventFilter(new TFontKeeper(font, qApp));
}
