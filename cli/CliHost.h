#pragma once

#include "host/HeadlessHost.h"

#include <QStringList>

class TConsole;

// The board layer's host for hx9ctl: messages go to stderr in hx9ctl's form, and the alert
// beep rings the terminal bell when someone is watching.
class TCliHost : public THeadlessHost
{
public:
    explicit TCliHost(TConsole& console) : m_Console(console) {}

    /// Rings the terminal bell only when stderr is a terminal.
    void Beep() override;
    /// Writes the text to stderr as "hx9ctl: text"; a warning only when warnings are not
    /// held.
    void ShowMessage(TMessageKind kind, const QString& text) override;
    /// While held, warnings are kept back: opening the link looks for the programmer's folder
    /// and warns when it is missing, which only matters when the FPGA is configured or the
    /// link does not open.
    void HoldWarnings(bool hold) { m_bHoldWarnings = hold; }
    /// Prints the warnings kept back, then forgets them.
    void ReleaseWarnings();
    /// Forgets the warnings kept back.
    void DropWarnings() { m_HeldWarnings.clear(); }

private:
    TConsole& m_Console;
    bool m_bHoldWarnings = false;
    QStringList m_HeldWarnings;
};
