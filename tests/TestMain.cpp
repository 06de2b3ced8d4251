#include <gtest/gtest.h>
#include <QApplication>

#include <cstdlib>

// The windows need an application object; the offscreen platform keeps them off any screen.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
