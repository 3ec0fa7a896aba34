#include "cli/TerminalProgress.h"

#include "cli/Console.h"
#include "cli/InterruptGuard.h"

namespace
{
// Carriage return, then erase to the end of the line.
const QString REDRAW = QStringLiteral("\r\x1b[K");
} // namespace

TTerminalProgress::TTerminalProgress(TConsole& console, const TInterruptGuard& interrupt)
    : m_Console(console), m_Interrupt(interrupt), m_bShown(console.IsErrorTerminal())
{
}

TTerminalProgress::~TTerminalProgress()
{
    if (m_bDrawn)
        m_Console.InfoRaw(QStringLiteral("\n"));
}

void TTerminalProgress::SetStatusText(const QString& text)
{
    if (!m_bShown)
        return;
    m_Console.InfoRaw(REDRAW + text);
    m_bDrawn = true;
}

void TTerminalProgress::SetPercent(int) {}

bool TTerminalProgress::IsAborted()
{
    return m_Interrupt.IsInterrupted();
}
