// The logic tests run with an application object, as the program does: the link waits for
// replies in event loops and receives through timers and notifiers.

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
