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
    EXPECT_EQ(ProgramFontFamily({"DejaVu Sans", "IPAGothic", "ＭＳ Ｐゴシック", "IPAPGothic"}),
              "ＭＳ Ｐゴシック");
    EXPECT_EQ(ProgramFontFamily({"IPAPGothic", "MS PGothic"}), "MS PGothic");
    EXPECT_EQ(ProgramFontFamily({"IPAGothic", "ipapgothic"}), "IPAPGothic");
    EXPECT_EQ(ProgramFontFamily({"TakaoPGothic", "Noto Sans CJK JP"}), "Noto Sans CJK JP");
    EXPECT_EQ(ProgramFontFamily({"DejaVu Sans"}), "ＭＳ Ｐゴシック");
}

TEST_F(ViewerTest, ProgramFontIsAJapaneseFamilyWithEveryCharacterShown) {
    const QFont font = QApplication::font();
    EXPECT_EQ(font.pixelSize(), 12);
    // IPAPGothic, which has the metrics of the windows' own family, wherever that is missing.
    const QString expected =
        QFontDatabase::hasFamily("ＭＳ Ｐゴシック") ? "ＭＳ Ｐゴシック" : "IPAPGothic";
    EXPECT_EQ(QFontInfo(font).family(), expected);

    TDetailWindow detail(form.get());
    const QString text = AllShownText(form.get(), &detail);
    const QFontMetrics metrics(font);
    QString missing;
    for (const char32_t character : text.toUcs4())
        if (!metrics.inFontUcs4(character))
            missing += QString::fromUcs4(&character, 1);
    EXPECT_TRUE(missing.isEmpty()) << missing.toStdString();
    EXPECT_GT(text.size(), 500);
}
