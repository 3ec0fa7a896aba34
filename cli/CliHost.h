#pragma once

#include "board/HeadlessHost.h"

class TConsole;

// The board layer's host for hx9ctl: messages go to stderr in hx9ctl's form, and the beeps
// the board object sounds on a broken exchange are counted, which tells a link failure
// from a firmware that refused a command.
class TCliHost : public THeadlessHost
{
public:
    explicit TCliHost(TConsole& console) : m_Console(console) {}

    /// Counts the beep and rings the terminal bell only when stderr is a terminal.
    void Beep() override;
    /// Writes the text to stderr as "hx9ctl: text".
    void ShowMessage(TMessageKind kind, const QString& text) override;
    /// Beeps so far.
    int BeepCount() const { return m_BeepCount; }

private:
    TConsole& m_Console;
    int m_BeepCount = 0;
};
