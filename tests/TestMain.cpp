// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Startup.h"

#include <gtest/gtest.h>
#include <QApplication>

#include <cstdlib>

// The windows need the application object as start-up sets it up; the offscreen platform keeps
// them off any screen.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    SetUpApplication();
    return RUN_ALL_TESTS();
}
