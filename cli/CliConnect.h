#pragma once

#include "session/ConnectSequence.h"

#include <QString>
#include <optional>

class TConsole;

// The connect sequence's view for hx9ctl: with verbose, each new text of the information line
// and the loss of the link ("Disconnected") as a line on stderr.
// Failures reach stderr through the host's messages in any case.
class TCliConnect : public TConnectView
{
public:
    TCliConnect(TConsole& console, bool verbose);

    /// Prints a non-empty text that differs from the last one, when verbose. The first failure
    /// is held back: it belongs to the silent first attempt, and is printed only when the
    /// whole sequence fails.
    void SetInfo(const QString& text, TInfoColour colour) override;
    /// Nothing: SetConnectLook reports the state once, where the status label shows it twice.
    void SetConnectStatus(const QString& text, TInfoColour colour) override;
    /// Prints "Disconnected" when the state changes to it, when verbose; the held failure goes
    /// before it and is dropped with a connect.
    void SetConnectLook(bool connected) override;
    // A terminal has no gauge and no controls to disable.
    void StartProgress(uint32_t, int, int) override {}
    void PauseProgress() override {}
    void StopProgress() override {}
    void SetBusy(bool) override {}

private:
    void Print(const QString& text);

    TConsole& m_Console;
    bool m_bVerbose;
    QString m_LastInfo;
    std::optional<QString> m_HeldFailure; // set once the first failure was seen

    std::optional<bool> m_LastConnected;
};
