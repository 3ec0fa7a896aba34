#include "cli/UartCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"
#include "ops/RS232Ops.h"

#include <QElapsedTimer>
#include <QThread>

namespace
{

constexpr int UART_WAIT_MAX_MS = 24 * 60 * 60 * 1000;

// Opens the link and starts the UART monitor; EXIT_OK, or the failure's status after
// "Failed to start RS232".
int OpenUart(TCliSession& session)
{
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    return session.Report(StartUartMonitor(session.Board()),
                          QString::fromLatin1(RS232_START_FAILED_TEXT));
}

int UartSend(TCliSession& session, const QStringList& words)
{
    if (words.isEmpty())
        return session.UsageError(QStringLiteral("uart send: missing TEXT"));
    const QByteArray text = words.join(QLatin1Char(' ')).toLocal8Bit();
    const int started = OpenUart(session);
    if (started != EXIT_OK)
        return started;
    const TOpResult sent = SendUartText(session.Board(), text);
    // Stopped whatever the send did; the board's answer to the stop changes nothing.
    StopUartMonitor(session.Board());
    return session.Report(sent, QString::fromLatin1(RS232_TRANSMIT_FAILED_TEXT));
}

int UartReceive(TCliSession& session, const TCliArguments& args)
{
    if (args.Words.size() > 1)
        return session.UsageError(
            QStringLiteral("uart receive: unexpected argument '%1'").arg(args.Words[1]));
    int waitMs = 0;
    const std::optional<QString> wait = args.Value(OPTION_WAIT);
    if (wait)
    {
        bool number = false;
        waitMs = wait->toInt(&number, 10);
        if (!number || waitMs < 0 || waitMs > UART_WAIT_MAX_MS)
            return session.UsageError(
                QStringLiteral("uart receive: invalid time '%1' (milliseconds, 0 to %2)")
                    .arg(*wait)
                    .arg(UART_WAIT_MAX_MS));
    }
    const int started = OpenUart(session);
    if (started != EXIT_OK)
        return started;
    QElapsedTimer clock;
    clock.start();
    int status = EXIT_OK;
    char last = '\n'; // nothing printed needs no line end
    for (;;)
    {
        QByteArray received;
        status = session.Report(ReceiveUartChunk(session.Board(), received),
                                QString::fromLatin1(RS232_RECEIVE_FAILED_TEXT));
        if (status != EXIT_OK)
            break;
        session.Console().OutRaw(received);
        if (!received.isEmpty())
            last = received.back();
        if (clock.elapsed() >= waitMs)
            break;
        QThread::msleep(UART_POLL_INTERVAL_MS);
    }
    // The shell's prompt goes on a line of its own.
    if (last != '\n')
        session.Console().OutRaw(QByteArray(1, '\n'));
    // Stopped whatever the transfer did; the board's answer to the stop changes nothing.
    StopUartMonitor(session.Board());
    return status;
}

} // namespace

int RunUart(TCliSession& session, const TCliArguments& args)
{
    const QString sub = args.Words.value(0);
    if (sub == QLatin1String("send"))
    {
        if (args.Has(OPTION_WAIT))
            return session.UsageError(QStringLiteral("uart send: --wait goes with 'uart receive'"));
        return UartSend(session, args.Words.mid(1));
    }
    if (sub == QLatin1String("receive"))
        return UartReceive(session, args);
    if (sub.isEmpty())
        return session.UsageError(QStringLiteral("uart: missing 'send' or 'receive'"));
    return session.UsageError(QStringLiteral("uart: unknown action '%1'").arg(sub));
}
