#include "cli/Hx9Ctl.h"

#include "cli/CliArguments.h"
#include "cli/CliHelp.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "cli/MemoryCommands.h"
#include "ops/AdcOps.h"
#include "ops/AdcReadout.h"
#include "ops/ButtonOps.h"
#include "ops/HSMCOps.h"
#include "ops/HdmiPattern.h"
#include "ops/HsmcReport.h"
#include "ops/LedOps.h"
#include "ops/RS232Ops.h"
#include "ops/SDCardOps.h"
#include "ops/SDCardText.h"
#include "ops/Seg7Ops.h"
#include "ops/VGAOps.h"

#include <QElapsedTimer>
#include <QThread>

namespace
{

constexpr int UART_WAIT_MAX_MS = 24 * 60 * 60 * 1000;

// Which commands accept which option; --help and --configure go with every command.
bool OptionAllowed(const QString& option, const QString& command)
{
    if (option == QLatin1String("memory"))
        return command == QLatin1String("mem");
    if (option == QLatin1String("wait"))
        return command == QLatin1String("uart");
    if (option == QLatin1String("list"))
        return command == QLatin1String("hdmi");
    return true;
}

QString CrLfToLf(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// Opens the link and starts the UART monitor; EXIT_OK, or the failure's status after
// "Failed to start RS232".
int OpenUart(TCliSession& session)
{
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    return session.Report(StartUartMonitor(session.Board()),
                          QString::fromLatin1(RS232_START_FAILED_TEXT));
}

} // namespace

int THx9Ctl::Run(const QStringList& arguments)
{
    const TCliArguments args = ParseCliArguments(arguments);
    TCliSession session(args.Configure);
    if (!args.Error.isEmpty())
        return session.UsageError(args.Error);
    if (args.Version)
    {
        session.Console().Out(QStringLiteral("hx9ctl " HX9_VERSION));
        return EXIT_OK;
    }
    if (args.Command.isEmpty() && !args.Help)
        return session.UsageError(QStringLiteral("missing command"));
    if (!args.Command.isEmpty() && !IsKnownCommand(args.Command))
        return session.UsageError(QStringLiteral("unknown command '%1'").arg(args.Command));
    if (args.Help || args.Command == QLatin1String("help"))
        return ShowHelp(args);
    for (const QString& option : args.OptionsSeen)
    {
        if (!OptionAllowed(option, args.Command))
            return session.UsageError(
                QStringLiteral("option '--%1' does not go with '%2'").arg(option, args.Command));
    }
    return RunCommand(session, args);
}

int THx9Ctl::ShowHelp(const TCliArguments& args)
{
    TConsole console;
    QString topic = args.Command == QLatin1String("help") ? args.Words.value(0) : args.Command;
    if (topic.isEmpty())
        topic = QStringLiteral("help");
    const QString help = CommandHelp(topic);
    if (help.isEmpty())
    {
        console.Error(QStringLiteral("unknown command '%1'").arg(topic));
        return EXIT_BAD_ARGUMENTS;
    }
    console.OutRaw(help.toLocal8Bit());
    return EXIT_OK;
}

int THx9Ctl::RunCommand(TCliSession& session, const TCliArguments& args)
{
    const QString& c = args.Command;
    if (c == QLatin1String("connect"))
        return Connect(session, args.Words);
    if (c == QLatin1String("name"))
        return Name(session, args.Words);
    if (c == QLatin1String("ping"))
        return Ping(session, args.Words);
    if (c == QLatin1String("leds"))
        return Leds(session, args.Words);
    if (c == QLatin1String("seg7"))
        return Seg7(session, args.Words);
    if (c == QLatin1String("switches"))
        return Switches(session, args.Words);
    if (c == QLatin1String("sd"))
        return SdCard(session, args.Words);
    if (c == QLatin1String("adc"))
        return Adc(session, args.Words);
    if (c == QLatin1String("uart"))
        return Uart(session, args);
    if (c == QLatin1String("hdmi"))
        return Hdmi(session, args);
    if (c == QLatin1String("hsmc"))
        return Hsmc(session, args.Words);
    TMemoryCommands memory(session);
    return memory.Run(args);
}

namespace
{
// A usage error unless words holds exactly count arguments.
bool WrongCount(TCliSession& session, const QString& command, const QStringList& words,
                qsizetype count, int& status)
{
    if (words.size() == count)
        return false;
    status = session.UsageError(
        words.size() < count
            ? QStringLiteral("%1: missing argument").arg(command)
            : QStringLiteral("%1: unexpected argument '%2'").arg(command, words[count]));
    return true;
}
} // namespace

int THx9Ctl::Connect(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("connect"), words, 0, usage))
        return usage;
    if (!session.OpenBoard(true))
        return EXIT_LINK_FAILURE;
    session.Console().Out(QStringLiteral("Connected"));
    return EXIT_OK;
}

int THx9Ctl::Name(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("name"), words, 0, usage))
        return usage;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    QString name;
    if (!session.Board().QueryBoardName(name))
        return session.Fail(QStringLiteral("Failed to query board name."));
    session.Console().Out(name);
    return EXIT_OK;
}

int THx9Ctl::Ping(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("ping"), words, 0, usage))
        return usage;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    if (!session.Board().Ping())
        return session.Fail(QStringLiteral("ping: the board did not answer with success"));
    return EXIT_OK;
}

int THx9Ctl::Leds(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("leds"), words, 1, usage))
        return usage;
    uint32_t mask = LED_MASK_NONE;
    if (words[0] == QLatin1String("all"))
        mask = LED_MASK_ALL;
    else if (words[0] != QLatin1String("none"))
    {
        const THexFieldResult field =
            TCliSession::ReadHexArgument(words[0], QStringLiteral("Mask"), LED_MASK_ALL, 0);
        if (!field.Accepted)
            return session.UsageError(field.Message);
        mask = static_cast<uint32_t>(field.Value);
    }
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    const int status = session.Report(SetLeds(session.Board(), mask),
                                      QStringLiteral("leds: the board did not take the LED mask"));
    if (status == EXIT_OK)
        session.Console().Out(QString::asprintf("0x%05X", mask));
    return status;
}

int THx9Ctl::Seg7(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("seg7"), words, 1, usage))
        return usage;
    const THexFieldResult field =
        TCliSession::ReadHexArgument(words[0], QStringLiteral("Digits"), SEG7_VALUE_MAX, 0);
    if (!field.Accepted)
        return session.UsageError(field.Message);
    const uint32_t digits = static_cast<uint32_t>(field.Value);
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    const int status = session.Report(SetSeg7Digits(session.Board(), digits),
                                      QStringLiteral("seg7: the board did not take the digits"));
    if (status == EXIT_OK)
        session.Console().Out(QString::asprintf("%04X", digits));
    return status;
}

int THx9Ctl::Switches(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("switches"), words, 0, usage))
        return usage;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    uint32_t state = 0;
    const int status =
        session.Report(QueryKeysSwitches(session.Board(), state),
                       QStringLiteral("switches: the board did not report the keys and switches"));
    if (status != EXIT_OK)
        return status;
    session.Console().Out(QString::asprintf("keys 0x%X", KeysOf(state)));
    session.Console().Out(QString::asprintf("switches 0x%X", SwitchesOf(state)));
    return EXIT_OK;
}

int THx9Ctl::SdCard(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("sd"), words, 0, usage))
        return usage;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    TSDCardInfo card;
    const TOpResult result = QuerySDCard(session.Board(), card);
    const int status = session.Report(result, QLatin1String(SDCARD_FAILED_TEXT));
    if (result == TOpResult::Refused)
        session.Console().Error(QLatin1String(SDCARD_ABSENT_TEXT));
    if (status == EXIT_OK)
        session.Console().OutRaw(
            SDCardReportText(card.Cid, card.Csd, card.FileSystem).toLocal8Bit());
    return status;
}

int THx9Ctl::Adc(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("adc"), words, 0, usage))
        return usage;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    TAdcBlock block{};
    const int status =
        session.Report(ReadAdc(session.Board(), block),
                       QStringLiteral("adc: the board did not report the ADC channels"));
    if (status == EXIT_OK)
        session.Console().OutRaw(AdcReadoutText(block, QStringLiteral("\n")).toLocal8Bit());
    return status;
}

int THx9Ctl::Uart(TCliSession& session, const TCliArguments& args)
{
    const QString sub = args.Words.value(0);
    if (sub == QLatin1String("send"))
    {
        if (args.WaitMs)
            return session.UsageError(QStringLiteral("uart send: --wait goes with 'uart receive'"));
        return UartSend(session, args.Words.mid(1));
    }
    if (sub == QLatin1String("receive"))
        return UartReceive(session, args);
    if (sub.isEmpty())
        return session.UsageError(QStringLiteral("uart: missing 'send' or 'receive'"));
    return session.UsageError(QStringLiteral("uart: unknown action '%1'").arg(sub));
}

int THx9Ctl::UartSend(TCliSession& session, const QStringList& words)
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

int THx9Ctl::UartReceive(TCliSession& session, const TCliArguments& args)
{
    if (args.Words.size() > 1)
        return session.UsageError(
            QStringLiteral("uart receive: unexpected argument '%1'").arg(args.Words[1]));
    int waitMs = 0;
    if (args.WaitMs)
    {
        bool number = false;
        waitMs = args.WaitMs->toInt(&number, 10);
        if (!number || waitMs < 0 || waitMs > UART_WAIT_MAX_MS)
            return session.UsageError(
                QStringLiteral("uart receive: invalid time '%1' (milliseconds, 0 to %2)")
                    .arg(*args.WaitMs)
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

int THx9Ctl::Hdmi(TCliSession& session, const TCliArguments& args)
{
    TConsole& console = session.Console();
    if (args.List)
    {
        if (!args.Words.isEmpty())
            return session.UsageError(QStringLiteral("hdmi: --list takes no PATTERN"));
        for (int code = 0; code < HDMI_PATTERN_COUNT; ++code)
            console.Out(QStringLiteral("%1 %2").arg(code).arg(
                QLatin1String(HdmiPatternNames[static_cast<std::size_t>(code)])));
        return EXIT_OK;
    }
    if (args.Words.isEmpty())
        return session.UsageError(QStringLiteral("hdmi: missing PATTERN"));
    // A pattern name may come as several words ("Red Scale").
    const QString wanted = args.Words.join(QLatin1Char(' '));
    bool isNumber = false;
    int code = wanted.toInt(&isNumber, 10);
    if (!isNumber)
        code = FindHdmiPattern(wanted);
    if (code < 0 || code >= HDMI_PATTERN_COUNT)
        return session.UsageError(
            QStringLiteral("hdmi: unknown pattern '%1' ('hx9ctl hdmi --list' shows them)")
                .arg(wanted));
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    const TOpResult started = StartHdmi(session.Board());
    if (started != TOpResult::Done)
        return session.Report(
            started, started == TOpResult::Refused
                         ? QStringLiteral("hdmi: the board refused to start the HDMI transmitter")
                         : QStringLiteral(
                               "hdmi: the board did not answer the start of the HDMI transmitter"));
    const int status = session.Report(SetHdmiPattern(session.Board(), static_cast<uint8_t>(code)),
                                      QStringLiteral("hdmi: the board did not take the pattern"));
    if (status != EXIT_OK)
        return status;
    console.Out(QStringLiteral("%1 %2").arg(code).arg(
        QLatin1String(HdmiPatternNames[static_cast<std::size_t>(code)])));
    return EXIT_OK;
}

int THx9Ctl::Hsmc(TCliSession& session, const QStringList& words)
{
    int usage = EXIT_OK;
    if (WrongCount(session, QStringLiteral("hsmc"), words, 0, usage))
        return usage;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    THsmcErrors errors;
    const int ran =
        session.Report(RunHsmcLoopback(session.Board(), errors), QLatin1String(HSMC_FAILED_TEXT));
    if (ran != EXIT_OK)
        return ran;
    TConsole& console = session.Console();
    if (errors.None())
    {
        console.Out(QLatin1String(HSMC_PASS_TEXT));
        return EXIT_OK;
    }
    console.Out(QLatin1String(HSMC_NG_TEXT));
    console.OutRaw(CrLfToLf(HsmcReportText(errors.Io, errors.Xcvr)).toLocal8Bit());
    // A loopback that ran and found failing pins is the board's failure.
    return EXIT_BOARD_FAILURE;
}
