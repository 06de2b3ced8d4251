// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "OffscreenPlatform.h"
#include "U_Startup.h"

#include <gtest/gtest.h>
#include <QApplication>

// The windows need the application object as start-up sets it up.
int main(int argc, char** argv) {
    PreferOffscreenPlatform();
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    SetUpApplication();
    return RUN_ALL_TESTS();
}
