#include "cli/CliSession.h"

#include "cli/CliConnect.h"
#include "cli/ExitStatus.h"
#include "ops/BoardOutcome.h"

TCliSession::TCliSession(bool configure)
    : m_Host(m_Console), m_Board(m_Host), m_bConfigure(configure)
{
}

bool TCliSession::OpenBoard(bool verbose)
{
    TCliConnect view(m_Console, verbose);
    TConnectSequence connect(m_Board, m_Host, view);
    if (m_bConfigure || verbose)
        return connect.DoConnect();
    if (connect.ConnectBoard(true))
        return true;
    m_Console.Error(QStringLiteral("the board did not answer as an HX9; 'hx9ctl connect' or -c "
                                   "configures its FPGA"));
    return false;
}

int TCliSession::FailureStatus()
{
    return ExitStatusOf(CommandOutcome(m_Board, false));
}

int TCliSession::Fail(const QString& text)
{
    m_Console.Error(text);
    return FailureStatus();
}

int TCliSession::Report(TOpResult result, const QString& text)
{
    if (result != TOpResult::Done)
        m_Console.Error(text);
    return ExitStatusOf(result);
}

int TCliSession::OpenAndRun(const std::function<TOpResult(TBoard&)>& op, const QString& text)
{
    if (!OpenBoard())
        return EXIT_LINK_FAILURE;
    return Report(op(m_Board), text);
}

int TCliSession::UsageError(const QString& text)
{
    m_Console.Error(text);
    m_Console.Info(QStringLiteral("Try 'hx9ctl --help' for more information."));
    return EXIT_BAD_ARGUMENTS;
}

THexFieldResult TCliSession::ReadHexArgument(const QString& text, const QString& fieldName,
                                             uint64_t maximum, uint64_t minimum)
{
    const bool prefixed = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    return ReadHexField(prefixed ? text.mid(2) : text, text, fieldName, maximum, minimum);
}
