#pragma once

#include <QString>
#include <cstdint>

// What the board link and the FPGA configuration layers need from the process around them.
// The GUI wires it to Qt, the command-line tool uses THeadlessHost, tests give a fake clock
// and record beeps, messages and file questions.
class THost
{
public:
    enum TMessageKind
    {
        mkError,
        mkWarning,
        mkInformation
    };

    virtual ~THost() = default;

    /// Millisecond tick as a 32-bit wrapping counter; only unsigned differences mean anything.
    virtual uint32_t TickCount() = 0;
    /// Sounds the system's plain alert beep.
    virtual void Beep() = 0;
    /// Shows a modal message with one OK button and returns when it is dismissed.
    virtual void ShowMessage(TMessageKind kind, const QString& text) = 0;
    /// Folder of the running program file, with a trailing separator.
    virtual QString ProgramFolder() = 0;
    /// Asks for an existing file to read; "" when the user cancels.
    virtual QString AskOpenFileName(const QString& filter, const QString& defaultSuffix) = 0;
    /// Asks for a file to write; "" when the user cancels. Never asks before replacing.
    virtual QString AskSaveFileName(const QString& filter, const QString& defaultSuffix) = 0;
};
