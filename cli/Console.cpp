#include "cli/Console.h"

#include <cstdio>
#include <unistd.h>

namespace
{
const char* const PROGRAM_PREFIX = "hx9ctl: ";
}

void TConsole::Out(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void TConsole::OutRaw(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void TConsole::Error(const QString& text)
{
    std::fputs(PROGRAM_PREFIX, stderr);
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

void TConsole::Info(const QString& text)
{
    InfoRaw(text + QLatin1Char('\n'));
}

void TConsole::InfoRaw(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

bool TConsole::IsErrorTerminal() const
{
    return isatty(STDERR_FILENO) != 0;
}
