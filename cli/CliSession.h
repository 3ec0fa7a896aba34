#pragma once

#include "board/Board.h"
#include "cli/CliHost.h"
#include "cli/Console.h"
#include "ops/OpResult.h"
#include "transfer/HexField.h"

#include <QString>
#include <functional>

// What every hx9ctl command shares: the console, the board layer's host, the one board
// object, and the rules for opening the link and for naming a failure's exit status.
class TCliSession
{
public:
    /// configure: run the full connect sequence (FPGA configuration included) on open.
    explicit TCliSession(bool configure);

    TConsole& Console() { return m_Console; }
    TBoard& Board() { return m_Board; }

    /// Opens the link and checks the board name; with configure (or verbose, for the connect
    /// command) the whole connect sequence. Shows the reason on failure.
    bool OpenBoard(bool verbose = false);
    /// Exit status of the board command that just failed: 3 when its exchange broke, else 1
    /// (the firmware answered with a status that was not 0).
    int FailureStatus();
    /// Shows text as an error when result is not Done; returns result's exit status.
    int Report(TOpResult result, const QString& text);
    /// Opens the link and runs op on the board; Report with text after a failure. Returns
    /// the exit status (3 when the link does not open).
    int OpenAndRun(const std::function<TOpResult(TBoard&)>& op, const QString& text);
    /// Shows text as an error and returns the status of the failure that just happened.
    int Fail(const QString& text);
    /// Shows text (and the usage hint) on stderr and returns 2.
    int UsageError(const QString& text);

    /// ReadHexField on text without a leading 0x or 0X.
    static THexFieldResult ReadHexArgument(const QString& text, const QString& fieldName,
                                           uint64_t maximum, uint64_t minimum);

private:
    TConsole m_Console;
    TCliHost m_Host;
    TBoard m_Board;
    bool m_bConfigure;
};
