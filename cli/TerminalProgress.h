#pragma once

#include "transfer/MemoryTransfer.h"

class TConsole;
class TInterruptGuard;

// A transfer's progress as one line on stderr, redrawn in place, shown only when stderr
// is a terminal; Ctrl-C aborts through the interrupt guard.
class TTerminalProgress : public TTransferProgress
{
public:
    TTerminalProgress(TConsole& console, const TInterruptGuard& interrupt);
    /// Ends the progress line, if one was drawn.
    ~TTerminalProgress() override;
    TTerminalProgress(const TTerminalProgress&) = delete;
    TTerminalProgress& operator=(const TTerminalProgress&) = delete;

    /// Redraws the line with the text.
    void SetStatusText(const QString& text) override;
    /// The percentage is part of the status text; nothing more to draw.
    void SetPercent(int percent) override;
    /// True once Ctrl-C was pressed.
    bool IsAborted() override;

private:
    TConsole& m_Console;
    const TInterruptGuard& m_Interrupt;
    bool m_bShown;
    bool m_bDrawn = false;
};
