#include "cli/CliHost.h"

#include "cli/Console.h"

void TCliHost::Beep()
{
    if (m_Console.IsErrorTerminal())
        m_Console.InfoRaw(QStringLiteral("\a"));
}

void TCliHost::ShowMessage(TMessageKind kind, const QString& text)
{
    if (kind == mkWarning && m_bHoldWarnings)
    {
        // The link looks for the folder at every open: one warning says it.
        if (!m_HeldWarnings.contains(text))
            m_HeldWarnings << text;
        return;
    }
    if (kind == mkWarning)
        m_Console.Warning(text);
    else
        m_Console.Error(text);
}

void TCliHost::ReleaseWarnings()
{
    for (const QString& text : std::as_const(m_HeldWarnings))
        m_Console.Warning(text);
    m_HeldWarnings.clear();
}
