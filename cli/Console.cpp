#include "cli/Console.h"

#include <cstdio>
#include <unistd.h>

namespace
{
const char* const PROGRAM_PREFIX = "hx9ctl: ";

void Write(std::FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}
} // namespace

void TConsole::Out(const QString& text)
{
    OutRaw((text + QLatin1Char('\n')).toLocal8Bit());
}

void TConsole::OutRaw(const QByteArray& bytes)
{
    Write(m_bOutReserved ? stderr : stdout, bytes);
}

void TConsole::WriteStandardOutput(const QByteArray& bytes)
{
    Write(stdout, bytes);
}

void TConsole::Error(const QString& text)
{
    m_Errors << text;
    Warning(text);
}

void TConsole::Warning(const QString& text)
{
    InfoRaw(QLatin1String(PROGRAM_PREFIX) + text + QLatin1Char('\n'));
}

void TConsole::Info(const QString& text)
{
    InfoRaw(text + QLatin1Char('\n'));
}

void TConsole::InfoRaw(const QString& text)
{
    Write(stderr, text.toLocal8Bit());
}

bool TConsole::IsErrorTerminal() const
{
    return isatty(STDERR_FILENO) != 0;
}
