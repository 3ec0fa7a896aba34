#include "cli/CliHost.h"

#include "cli/Console.h"

void TCliHost::Beep()
{
    if (m_Console.IsErrorTerminal())
        m_Console.InfoRaw(QStringLiteral("\a"));
}

void TCliHost::ShowMessage(TMessageKind, const QString& text)
{
    m_Console.Error(text);
}
