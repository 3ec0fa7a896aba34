#include <QCoreApplication>
#include <gtest/gtest.h>

// QProcess wants an application object; the tests drive it with its blocking calls.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
