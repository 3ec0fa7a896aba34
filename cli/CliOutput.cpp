#include "cli/CliOutput.h"

#include "cli/Console.h"
#include "cli/ExitStatus.h"

#include <QJsonDocument>

TCliOutput::TCliOutput(TConsole& console, bool json) : m_Console(console), m_bJson(json)
{
    // The object is all that stdout carries; result texts become messages.
    if (json)
        m_Console.ReserveStandardOutput();
}

void TCliOutput::Print(const QJsonObject& data, const QString& text)
{
    m_bAnswered = true;
    if (m_bJson)
        WriteObject(data);
    else
        m_Console.OutRaw(text.toLocal8Bit());
}

void TCliOutput::PrintSample(const QJsonObject& data, const QString& text)
{
    if (m_bJson)
        WriteObject(data);
    else
        m_Console.Out(text.trimmed().replace(QLatin1Char('\n'), QStringLiteral(", ")));
}

int TCliOutput::Finish(int status)
{
    if (!m_bJson || status == EXIT_OK || m_bAnswered)
        return status;
    QString error = m_Console.Errors().join(QLatin1Char('\n'));
    if (error.isEmpty())
        error = QStringLiteral("failed with exit status %1").arg(status);
    WriteObject({{QStringLiteral("error"), error}});
    return status;
}

void TCliOutput::WriteObject(const QJsonObject& data)
{
    m_Console.WriteStandardOutput(QJsonDocument(data).toJson(QJsonDocument::Compact) + '\n');
}
