// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ProgramFont.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// The windows need an application object with the program's font; the offscreen platform
// keeps them off any screen.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    UseProgramFont();
    return RUN_ALL_TESTS();
}
