#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Local time 8 hours east of UTC (POSIX form, needs no zone files).
    setenv("TZ", "CST-8", 1);
    tzset();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
