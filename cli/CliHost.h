#pragma once

#include "host/HeadlessHost.h"

class TConsole;

// The board layer's host for hx9ctl: messages go to stderr in hx9ctl's form, and the alert
// beep rings the terminal bell when someone is watching.
class TCliHost : public THeadlessHost
{
public:
    explicit TCliHost(TConsole& console) : m_Console(console) {}

    /// Rings the terminal bell only when stderr is a terminal.
    void Beep() override;
    /// Writes the text to stderr as "hx9ctl: text".
    void ShowMessage(TMessageKind kind, const QString& text) override;

private:
    TConsole& m_Console;
};
