#include <QApplication>
#include <gtest/gtest.h>

namespace
{

QtMessageHandler g_DefaultHandler = nullptr;

// The offscreen platform cannot grab the pointer; the buttons still work, so keep the log quiet.
void QuietGrabWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.contains(QLatin1String("does not support grabbing")))
    {
        g_DefaultHandler(type, context, text);
    }
}

} // namespace

int main(int argc, char** argv)
{
    g_DefaultHandler = qInstallMessageHandler(QuietGrabWarnings);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
