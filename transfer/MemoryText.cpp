#include "transfer/MemoryText.h"

namespace
{
constexpr double MS_PER_SECOND = 1000.0;

QString Outcome(bool ok)
{
    return ok ? QStringLiteral("Success") : QStringLiteral("Fail");
}

QByteArray Latin(const QString& text)
{
    return text.toLatin1();
}
} // namespace

QString RandomWriteStartText(const QString& name)
{
    return QStringLiteral("%1 Random Write...").arg(name);
}

QString RandomReadStartText(const QString& name)
{
    return QStringLiteral("%1 Random Read...").arg(name);
}

QString RandomWriteResultText(const QString& name, bool ok)
{
    return QStringLiteral("%1 Random Write %2").arg(name, Outcome(ok));
}

QString RandomReadResultText(const QString& name, bool ok)
{
    return QStringLiteral("%1 Random Read %2").arg(name, Outcome(ok));
}

QString WordText(uint16_t value)
{
    return QString::asprintf("%04X", value);
}

QString WriteFileStartText(const QString& name)
{
    return QStringLiteral("Write a File to %1...").arg(name);
}

QString WriteFileResultText(const QString& name, TOpResult result, uint32_t elapsedMs)
{
    if (result == TOpResult::Aborted)
        return QStringLiteral("Write a File to %1 Aborted.").arg(name);
    return QString::asprintf("Write a File to %s %s.[%.1fsec]", Latin(name).constData(),
                             Latin(Outcome(result == TOpResult::Done)).constData(),
                             elapsedMs / MS_PER_SECOND);
}

QString LoadFileStartText(const QString& name)
{
    return QStringLiteral("Load %1 Content to a File...").arg(name);
}

QString LoadFileResultText(const QString& name, TOpResult result, uint32_t elapsedMs)
{
    if (result == TOpResult::Aborted)
        return QStringLiteral("Load %1 Content to a File Aborted.").arg(name);
    return QString::asprintf("Load %s Content to a File %s. (%.1fsec)", Latin(name).constData(),
                             Latin(Outcome(result == TOpResult::Done)).constData(),
                             elapsedMs / MS_PER_SECOND);
}
