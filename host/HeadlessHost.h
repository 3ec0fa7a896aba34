#pragma once

#include "host/Host.h"

// THost for use without a window system: steady clock, beep and messages on stderr,
// the folder of the running executable, and no file dialogs.
class THeadlessHost : public THost
{
public:
    /// Milliseconds of the steady clock, truncated to 32 bits.
    uint32_t TickCount() override;
    /// Writes the terminal bell to stderr.
    void Beep() override;
    /// Writes "error: text" (or "warning:", "info:") as one line to stderr.
    void ShowMessage(TMessageKind kind, const QString& text) override;
    /// Folder of the running executable with a trailing '/'; empty when it cannot be found.
    QString ProgramFolder() override;
    /// "": there is nobody to ask.
    QString AskOpenFileName(const QString& filter, const QString& defaultSuffix) override;
    /// "": there is nobody to ask.
    QString AskSaveFileName(const QString& filter, const QString& defaultSuffix) override;
};
