// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_DetailWindow.h"
#include "ViewerFixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class DetailWindowTest : public ViewerTest {
protected:
    // Loads a file with `horse` in slot `index` and shows that slot's detail window.
    void ShowHorse(const HorseRecordFields& horse, int index = 12) {
        HorseBlock block{};
        PutHorse(block, index, horse);
        OpenThroughMenu(WriteFile("horse.dat", block));
        detail = std::make_unique<TDetailWindow>(form.get());
        detail->HorseIndex = index;
        detail->show();
    }
    QString Text(const char* name) const { return detail->findChild<QLineEdit*>(name)->text(); }
    QStringList Lines(const char* name) const {
        QStringList lines;
        const auto* list = detail->findChild<QListWidget*>(name);
        for (int row = 0; row < list->count(); ++row)
            lines << list->item(row)->text();
        return lines;
    }

    std::unique_ptr<TDetailWindow> detail;
};

} // namespace

TEST_F(DetailWindowTest, ShowsEveryFieldOfTheHorse) {
    ShowHorse(SampleHorse());
    EXPECT_EQ(Text("E_HorseName"), "ガパアイウ");
    const std::pair<const char*, const char*> abilities[] = {
        {"E_Speed", "95"},     {"E_Endurance", "88"}, {"E_Stamina", "101"}, {"E_Power", "7"},
        {"E_Agility", "0"},    {"E_Agreement", "64"}, {"E_Temper", "12"},   {"E_Guts", "100"},
        {"E_Reactive", "255"}, {"E_Durability", "9"}};
    for (const auto& [name, value] : abilities)
        EXPECT_EQ(Text(name), value) << name;
    EXPECT_EQ(Lines("LB_ExeAbility"), (QStringList{"馬群好き", "？"}));
    EXPECT_EQ(Lines("LB_EqpAbility"), (QStringList{"サンスポー", "アイドルホース", "？"}));
    EXPECT_EQ(Text("E_LowerDistance"), "1600");
    EXPECT_EQ(Text("E_UpperDistance"), "2400");
    EXPECT_EQ(Text("E_FatherName"), "ソラノカナタ");
    EXPECT_EQ(Text("E_MotherName"), "ハルカゼ");
    EXPECT_EQ(Text("E_SexAge"), "");
    EXPECT_EQ(Text("E_Rank"), "");
    for (const char* fixed : {"Edit13", "Edit14", "Edit15", "Edit16", "Edit17", "Edit18", "Edit19"})
        EXPECT_EQ(Text(fixed), "？") << fixed;
    // Every box is readable on its grey, and named for a screen reader.
    for (QWidget* box : detail->findChildren<QWidget*>()) {
        if (!box->inherits("QLineEdit") && !box->inherits("QListWidget"))
            continue;
        EXPECT_EQ(box->palette().color(QPalette::Base), DisplayBoxBackground);
        EXPECT_FALSE(box->accessibleName().isEmpty()) << box->objectName().toStdString();
    }

    // Empty ability slots add no lines.
    HorseRecordFields horse = SampleHorse();
    horse.ExeAbility = {0, 0, 0, 0};
    horse.EqpAbility = {0, 0, 0, 43};
    horse.LowerDistance = 3000;
    horse.UpperDistance = 1200; // shown as stored, not reordered
    ShowHorse(horse, 0);
    EXPECT_TRUE(Lines("LB_ExeAbility").isEmpty());
    EXPECT_EQ(Lines("LB_EqpAbility"), QStringList{"牝馬戦○"});
    EXPECT_EQ(Text("E_LowerDistance"), "3000");
    EXPECT_EQ(Text("E_UpperDistance"), "1200");
}

TEST_F(DetailWindowTest, OpensWithFocusInTheNameAndTabsInLayoutOrder) {
    HorseBlock block{};
    PutHorse(block, 0, SampleHorse());
    OpenThroughMenu(WriteFile("horse.dat", block));
    const QStringList expected = {
        "E_HorseName",     "E_SexAge",        "E_Rank",     "LB_ExeAbility", "LB_EqpAbility",
        "E_LowerDistance", "E_UpperDistance", "Edit13",     "Edit14",        "Edit15",
        "Edit16",          "Edit17",          "Edit18",     "Edit19",        "E_Speed",
        "E_Endurance",     "E_Stamina",       "E_Power",    "E_Agility",     "E_Agreement",
        "E_Temper",        "E_Guts",          "E_Reactive", "E_Durability",  "E_FatherName",
        "E_MotherName",    "UpDown1",         "Button1",    "E_HorseName"};
    QStringList visited;
    TDetailWindow dialog(form.get());
    ModalHandler walk("TDetailWindow", [&](QWidget* modal) {
        // The dialog's own focus widget, which does not depend on when the window system
        // gets round to activating the dialog.
        visited << modal->focusWidget()->objectName();
        for (int step = 1; step < expected.size(); ++step) {
            QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
            visited << modal->focusWidget()->objectName();
        }
        modal->close();
    });
    dialog.exec();
    ASSERT_TRUE(walk.Handled());
    EXPECT_EQ(visited.join(' ').toStdString(), expected.join(' ').toStdString());
}

TEST_F(DetailWindowTest, EscapeLeavesItOpenAndTheButtonsClose) {
    ShowHorse(SampleHorse());
    QTest::keyClick(detail.get(), Qt::Key_Escape);
    EXPECT_TRUE(detail->isVisible());
    QTest::keyClick(detail->findChild<QWidget*>("E_HorseName"), Qt::Key_Return);
    EXPECT_TRUE(detail->isVisible());
    auto* close = detail->findChild<QPushButton*>("Button1");
    EXPECT_EQ(close->text(), "閉じる");
    EXPECT_FALSE(close->isDefault());
    EXPECT_FALSE(close->autoDefault());
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(detail->isVisible());

    detail->show();
    detail->close(); // the title bar's close box
    EXPECT_FALSE(detail->isVisible());
}

TEST_F(DetailWindowTest, UpDownStepsOnlyItselfAndShowsFocusAndKeys) {
    ShowHorse(SampleHorse());
    auto* upDown = detail->findChild<QAbstractSlider*>("UpDown1");
    ASSERT_NE(upDown, nullptr);
    EXPECT_EQ(upDown->minimum(), 0);
    EXPECT_EQ(upDown->maximum(), 100);
    EXPECT_EQ(upDown->value(), 0);
    EXPECT_EQ(upDown->orientation(), Qt::Vertical);
    QTest::mouseClick(upDown, Qt::LeftButton, {}, QPoint(8, 4));
    QTest::mouseClick(upDown, Qt::LeftButton, {}, QPoint(8, 4));
    EXPECT_EQ(upDown->value(), 2);
    QTest::mouseClick(upDown, Qt::LeftButton, {}, QPoint(8, 20));
    EXPECT_EQ(upDown->value(), 1);
    for (int n = 0; n < 5; ++n)
        QTest::mouseClick(upDown, Qt::LeftButton, {}, QPoint(8, 20));
    EXPECT_EQ(upDown->value(), 0);
    EXPECT_EQ(Text("E_Speed"), "95");

    // Tabbed to, it shows a focus mark; Up presses its upper arrow while held down.
    detail->activateWindow();
    // (qWaitForWindowActive counts the main window's activation for its dialog.)
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == detail.get(); }));
    const QImage unfocused = upDown->grab().toImage();
    auto* before = detail->findChild<QWidget*>("E_MotherName");
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(upDown->hasFocus());
    const QImage focused = upDown->grab().toImage();
    EXPECT_TRUE(focused != unfocused) << "no focus mark";
    QTest::keyPress(upDown, Qt::Key_Up);
    EXPECT_EQ(upDown->value(), 1);
    EXPECT_TRUE(upDown->grab().toImage() != focused) << "the held key shows nothing";
    QTest::keyRelease(upDown, Qt::Key_Up);
    EXPECT_TRUE(upDown->grab().toImage() == focused) << "the arrow stays pressed";
    QTest::keyClick(upDown, Qt::Key_Down);
    EXPECT_EQ(upDown->value(), 0);
}

TEST_F(DetailWindowTest, EveryControlStandsInsideItsBoxesFrameAsDrawn) {
    ShowHorse(SampleHorse());
    EXPECT_EQ(detail->windowTitle(), "詳細表示");
    EXPECT_EQ(detail->size(), QSize(592, 453));
    EXPECT_EQ(detail->minimumSize(), detail->maximumSize());
    EXPECT_EQ(detail->pos(), QPoint(293, 151));
    EXPECT_EQ(detail->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                       Qt::WindowCloseButtonHint),
              Qt::WindowCloseButtonHint);
    QStringList captions;
    for (const char* label : {"L_Hyphen", "Label16", "Label20"})
        captions << detail->findChild<QLabel*>(label)->text();
    for (QGroupBox* box : detail->findChildren<QGroupBox*>()) {
        captions << box->title();
        QImage drawn(box->size(), QImage::Format_RGB32);
        box->render(&drawn, {}, {}, QWidget::DrawWindowBackground); // the box without controls
        const QRgb background = drawn.pixel(box->width() / 2, box->height() / 2);
        auto line = [&](QPoint at, QPoint step) { // the line's first pixel met, and the next past
            while (drawn.valid(at) && drawn.pixel(at) == background)
                at += step;
            QPoint past = at;
            while (drawn.valid(past) && drawn.pixel(past) != background)
                past += step;
            return std::pair{at, past};
        };
        const int right = box->width() - 10, middle = box->height() / 2;
        const auto [top, belowTop] = line({right, 0}, {0, 1});
        // Inside the lines with a pixel to spare: a control there neither crosses nor touches.
        const QRect clear(QPoint(line({0, middle}, {1, 0}).second.x() + 1, belowTop.y() + 1),
                          QPoint(line({box->width() - 1, middle}, {-1, 0}).second.x() - 1,
                                 line({right, box->height() - 1}, {0, -1}).second.y() - 1));
        int above = 0, below = 0; // the caption's pixels either side of the top line
        for (int y = 0; y < clear.bottom(); ++y)
            for (int x = clear.left(); x <= clear.right(); ++x)
                if (drawn.pixel(x, y) != background && (y < top.y() || y >= belowTop.y()))
                    ++(y < top.y() ? above : below);
        EXPECT_TRUE(above > 0 && below > 0) << box->title().toStdString() << " is not on its line";
        for (QWidget* control : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(clear.contains(control->geometry()) &&
                        control->y() >= box->fontMetrics().height()) // below the caption
                << control->objectName().toStdString() << " at y " << control->y()
                << " crosses the frame of " << box->title().toStdString();
    }
    EXPECT_EQ(captions.join(' '), "～ ダート 追 馬名 アビリティ 距離適性 コース適性 脚質 "
                                  "成長タイプ 基本能力 父母");
}
