#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Widgets need an application object that lives through every test.
int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
