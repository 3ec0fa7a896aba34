#include "cli/CliSession.h"

#include "cli/CliConnect.h"
#include "cli/ExitStatus.h"
#include "ops/BoardOutcome.h"
#include "session/BoardAddress.h"

namespace
{
// What a failed attempt means for the user; empty when the messages already say it all.
QString FailureHint(TConnectFailure failure, bool configured)
{
    const QString address = BoardAddress();
    if (failure == TConnectFailure::NoLink)
        return QStringLiteral("no board answers at %1").arg(address);
    if (configured)
        return {};
    if (failure == TConnectFailure::NoAnswer)
        return QStringLiteral("the board at %1 did not answer its name: a blank FPGA? "
                              "'hx9ctl connect' or -c configures it")
            .arg(address);
    if (failure == TConnectFailure::WrongName)
        return QStringLiteral("the board at %1 is not an HX9; 'hx9ctl connect' or -c "
                              "configures its FPGA")
            .arg(address);
    return {};
}
} // namespace

TCliSession::TCliSession(bool configure, bool json)
    : m_Output(m_Console, json), m_Host(m_Console), m_Board(m_Host), m_bConfigure(configure)
{
}

bool TCliSession::OpenBoard(bool verbose)
{
    TCliConnect view(m_Console, verbose);
    TConnectSequence connect(m_Board, m_Host, view);
    const bool configure = m_bConfigure || verbose;
    // Every open looks for the programmer's folder; only configuring needs it, or a link
    // that fails to open may.
    m_Host.HoldWarnings(!configure);
    const bool ok = configure ? connect.DoConnect() : connect.ConnectBoard(true);
    m_Host.HoldWarnings(false);
    if (!ok && connect.LastFailure() == TConnectFailure::NoLink)
        m_Host.ReleaseWarnings();
    m_Host.DropWarnings();
    if (ok)
        return true;
    const QString hint = FailureHint(connect.LastFailure(), configure);
    if (!hint.isEmpty())
        m_Console.Error(hint);
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
