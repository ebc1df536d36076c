#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>
#include <ctime>

// Tests without widgets: an application object for Qt's plugins (the SQL
// driver) and a fixed zone 8 hours east of UTC (POSIX form, needs no zone
// files), so local-time texts are known and a UTC/local mix-up shows.
int main(int argc, char** argv) {
    setenv("TZ", "CST-8", 1);
    tzset();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
