#include "app/Application.h"

#include <QTemporaryDir>
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
    // Keep the single-instance lock and temporary files away from a control panel that may be
    // running on this machine.
    QTemporaryDir temp;
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", temp.path().toLocal8Bit());
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
