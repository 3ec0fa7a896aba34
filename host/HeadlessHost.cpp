#include "host/HeadlessHost.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <chrono>
#include <cstdio>

uint32_t THeadlessHost::TickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void THeadlessHost::Beep()
{
    std::fputs("\a", stderr);
    std::fflush(stderr);
}

void THeadlessHost::ShowMessage(TMessageKind kind, const QString& text)
{
    const char* label = kind == mkError ? "error" : kind == mkWarning ? "warning" : "info";
    std::fprintf(stderr, "%s: %s\n", label, text.toLocal8Bit().constData());
}

QString THeadlessHost::ProgramFolder()
{
    QString folder;
    if (QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
#ifndef _WIN32
    else
        folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
#endif
    if (folder.isEmpty())
        return folder;
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString THeadlessHost::AskOpenFileName(const QString&, const QString&)
{
    return QString();
}

QString THeadlessHost::AskSaveFileName(const QString&, const QString&)
{
    return QString();
}
