#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // fonts for the encoder's test frames, and the image format plug-ins
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
