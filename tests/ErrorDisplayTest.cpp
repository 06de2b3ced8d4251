// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The one error box of every handler: its title, its text and the program carrying on.
#include "U_ErrorDisplay.h"
#include "ViewerFixture.h"

#include <QMessageBox>

#include <functional>
#include <stdexcept>

TEST(ErrorDisplay, ApplicationTitleComesFromTheProgramFileName) {
    EXPECT_EQ(ApplicationTitleFor("/usr/bin/Stallark"), "Stallark");
    EXPECT_EQ(ApplicationTitleFor("/opt/x/STALLARK.EXE"), "Stallark");
    EXPECT_EQ(ApplicationTitleFor("stallark.tar.gz"), "stallark");
    EXPECT_EQ(ApplicationTitleFor("/a.b/Prog"), "Prog");
    EXPECT_EQ(ApplicationTitleFor("S"), "S");
}

TEST(ErrorDisplay, PeriodFollowsAMessageThatEndsAboveIt) {
    EXPECT_EQ(WithClosingPeriod("ファイルが見つかりません"), "ファイルが見つかりません.");
    EXPECT_EQ(WithClosingPeriod("I/O エラー (21)"), "I/O エラー (21)");
    EXPECT_EQ(WithClosingPeriod("done."), "done.");
    EXPECT_EQ(WithClosingPeriod("a-"), "a-");
    EXPECT_EQ(WithClosingPeriod("a/"), "a/.");
    EXPECT_EQ(WithClosingPeriod(""), "");
}

TEST(ErrorDisplay, HandlerFailureIsShownAndTheProgramCarriesOn) {
    struct Case {
        std::function<void()> handler;
        QString text;
    } const cases[] = {
        {[] { throw std::runtime_error("壊れた"); }, "壊れた."},
        {[] { throw std::runtime_error(""); }, ""},
        {[] { throw 42; }, ""},
    };
    ErrorBoxRecorder errorBoxes;
    for (const Case& c : cases) {
        RunHandler(nullptr, c.handler);
        const QList<ErrorBoxRecorder::Box> boxes = errorBoxes.TakeBoxes();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].Text, c.text);
        EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
        EXPECT_EQ(boxes[0].Buttons, QMessageBox::Ok);
    }
    int ran = 0;
    RunHandler(nullptr, [&] { ++ran; });
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{});
}
