#include "app/Application.h"

#include "app/InstanceChannel.h"
#include "app/SingleInstance.h"
#include "app/UnitMain.h"
#include "host/Host.h"
#include "resources/SkinResources.h"

#include <QFont>
#include <QIcon>
#include <cstdio>
#include <exception>

namespace
{
// Builds the main window and runs the event loop until the window closes.
void RunMainWindow(THost& host)
{
    InstallFontSubstitutes();
    InstallApplicationIcon();
    TFormMain form(host);
    TInstanceChannel channel;
    channel.Listen([&form] { form.BringToFront(); });
    form.show();
    QApplication::exec();
}
} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    // Qt itself cannot carry an exception through its event delivery: catch it here.
    try
    {
        return QApplication::notify(receiver, event);
    }
    catch (const std::exception& error)
    {
        ShowException(QString::fromLocal8Bit(error.what()));
    }
    catch (...)
    {
        ShowException(QString());
    }
    return false;
}

void TApplication::ShowException(const QString& text)
{
    if (m_pHost == nullptr)
    {
        qCritical("Unhandled exception: %s", qPrintable(text));
        return;
    }
    m_pHost->ShowMessage(THost::mkError, text);
}

void InstallFontSubstitutes()
{
    // fontconfig already maps Arial and Times New Roman onto their metric twins; say it again
    // for platforms without it, and give the old bitmap face a plain sans one.
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

void InstallApplicationIcon()
{
    QIcon icon;
    for (const QString& path : AppIconPaths())
        icon.addFile(path);
    QApplication::setWindowIcon(icon);
    // Ties the window to its desktop entry, where the desktop goes by that (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral(HX9_DESKTOP_ID));
}

int RunControlPanel(THost& host)
{
    TSingleInstance instance;
    if (!instance.Acquire())
    {
        // Said on the terminal too, for a start from a shell or a script.
        std::fprintf(stderr, "%s\n", ALREADY_RUNNING_TEXT);
        // The running copy comes to the front whether or not the user reads the box.
        TInstanceChannel::Knock();
        host.ShowMessage(THost::mkInformation, QString::fromLatin1(ALREADY_RUNNING_TEXT));
        return 0;
    }
    // Building the window is outside any event handler; what it throws is shown the same way.
    try
    {
        RunMainWindow(host);
    }
    catch (const std::exception& error)
    {
        host.ShowMessage(THost::mkError, QString::fromLocal8Bit(error.what()));
    }
    catch (...)
    {
        host.ShowMessage(THost::mkError, QString());
    }
    return 0;
}
