// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Analyze.h"
#include "U_DetailWindow.h"
#include "U_HorseRow.h"
#include "U_ProgramFont.h"
#include "ViewerFixture.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include <clocale>

namespace {

// Every text either window can show: its own captions and labels, and everything a file can
// put on screen through the name table and the two ability tables.
QString AllShownText(QWidget* mainWindow, QWidget* detail) {
    QString text;
    for (QWidget* window : {mainWindow, detail}) {
        text += window->windowTitle();
        for (auto* label : window->findChildren<QLabel*>())
            text += label->text();
        for (auto* box : window->findChildren<QGroupBox*>())
            text += box->title();
        for (auto* button : window->findChildren<QAbstractButton*>())
            text += button->text();
        for (auto* edit : window->findChildren<QLineEdit*>())
            text += edit->text();
        for (auto* menu : window->findChildren<QMenu*>()) {
            text += menu->title();
            for (QAction* action : menu->actions())
                text += action->text();
        }
    }
    for (const char* caption : HorseListCaptions)
        text += QString::fromUtf8(caption);
    for (int code = 0; code < 256; ++code) {
        text += QString::fromUtf8(NameCharacter(static_cast<std::uint8_t>(code)));
        text += QString::fromStdString(TDM_Analyze::ExeAbilityName(static_cast<unsigned>(code)));
        text += QString::fromStdString(TDM_Analyze::EqpAbilityName(static_cast<unsigned>(code)));
    }
    text += "0123456789/ -";
    return text;
}

} // namespace

TEST(ProgramFont, AsksForItsOwnFamilyWhereInstalledElseTheFirstStandIn) {
    const auto among = [](const QStringList& families) {
        return [families](const QString& name) {
            return families.contains(name, Qt::CaseInsensitive);
        };
    };
    const auto noJapanese = [] { return QStringList(); };
    EXPECT_EQ(ProgramFontFamily(
                  among({"DejaVu Sans", "IPAGothic", "ＭＳ Ｐゴシック", "IPAPGothic"}), noJapanese),
              "ＭＳ Ｐゴシック");
    EXPECT_EQ(ProgramFontFamily(among({"IPAPGothic", "MS PGothic"}), noJapanese), "MS PGothic");
    EXPECT_EQ(ProgramFontFamily(among({"IPAGothic", "ipapgothic"}), noJapanese), "IPAPGothic");
    EXPECT_EQ(ProgramFontFamily(among({"TakaoPGothic", "Noto Sans CJK JP"}), noJapanese),
              "Noto Sans CJK JP");
    // A Windows without the family: one that every Windows has, before any other.
    EXPECT_EQ(
        ProgramFontFamily(among({"IPAPGothic", "Meiryo", "Yu Gothic UI", "Meiryo UI"}), noJapanese),
        "Yu Gothic UI");
    // Listed in Japanese, as Qt lists it in the Japanese locale.
    EXPECT_EQ(ProgramFontFamily(among({"Noto Sans CJK JP", "IPA Pゴシック"}), noJapanese),
              "IPA Pゴシック");
    // None of the list: a family with Japanese characters, never one Qt picks at random.
    EXPECT_EQ(ProgramFontFamily(among({"DejaVu Serif"}),
                                [] {
                                    return QStringList{"Some Mincho", "Other Gothic"};
                                }),
              "Some Mincho");
    EXPECT_EQ(ProgramFontFamily(among({"DejaVu Sans"}), noJapanese), "ＭＳ Ｐゴシック");
}

// Also run in the Japanese locale (tests/CMakeLists.txt), where Qt lists IPAPGothic only as
// "IPA Pゴシック" and Noto Sans CJK JP, taller, under its English name.
TEST_F(ViewerTest, ProgramFontIsAJapaneseFamilyWithEveryCharacterShown) {
    const QString locale = qEnvironmentVariable("LC_ALL");
    if (!locale.isEmpty()) {
        ASSERT_EQ(QString::fromLatin1(std::setlocale(LC_ALL, nullptr)), locale)
            << "the locale is not installed: bash scripts/install-deps test makes it";
    }
    const QFont font = QApplication::font();
    EXPECT_EQ(font.pixelSize(), 12);
    // IPAPGothic, which has the metrics of the windows' own family, wherever that is missing;
    // compared by the name Qt gives it in this locale.
    const QString expected =
        QFontDatabase::hasFamily("ＭＳ Ｐゴシック") ? "ＭＳ Ｐゴシック" : "IPAPGothic";
    ASSERT_TRUE(QFontDatabase::hasFamily(expected));
    EXPECT_EQ(QFontInfo(font).family().toStdString(),
              QFontInfo(QFont(expected)).family().toStdString());

    TDetailWindow detail(form.get());
    const QString text = AllShownText(form.get(), &detail);
    const QFontMetrics metrics(font);
    QString missing;
    for (const char32_t character : text.toUcs4())
        if (!metrics.inFontUcs4(character))
            missing += QString::fromUcs4(&character, 1);
    EXPECT_TRUE(missing.isEmpty()) << missing.toStdString();
    EXPECT_GT(text.size(), 500);

    // A settings tool that sets a larger font on the application, as qt6ct does once the
    // program runs, leaves the windows in theirs.
    QFont larger = font;
    larger.setPixelSize(20);
    QApplication::setFont(larger);
    EXPECT_EQ(QApplication::font(), font);
    EXPECT_EQ(List()->font().pixelSize(), 12);
}
