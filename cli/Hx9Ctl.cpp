#include "cli/Hx9Ctl.h"

#include "cli/CliArguments.h"
#include "cli/CliHelp.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "cli/MemoryCommands.h"
#include "panels/AdcReadout.h"
#include "panels/HdmiPattern.h"
#include "panels/HsmcReport.h"
#include "panels/SDCardText.h"

#include <QElapsedTimer>
#include <QThread>
#include <mutex>

namespace
{

constexpr uint32_t LED_MASK_ALL = 0x3FFFF; // 8 green and 10 red LEDs
constexpr uint32_t SEG7_DIGITS_MAX = 0xFFFF;
constexpr uint8_t SEG7_EXTRA = 0;
constexpr uint32_t UART_POLL_INTERVAL_MS = 100;
constexpr int UART_WAIT_MAX_MS = 24 * 60 * 60 * 1000;

const QString START_RS232_FAILED = QStringLiteral("Failed to start RS232");
const QString TRANSMIT_FAILED = QStringLiteral("RS232 transmit fail.");
const QString RECEIVE_FAILED = QStringLiteral("RS232 receive fail.");

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

// The UART-USB panel's start and stop of the firmware's monitor.
bool UartMonitor(TBoard& board, bool& ok, bool start)
{
    std::lock_guard<std::recursive_mutex> lock(board.Lock());
    return board.DeviceControl(ok, DEVICE_UART_USB,
                               start ? DEVICE_ACTION_START : DEVICE_ACTION_STOP, 0);
}

// Opens the link and starts the UART monitor; EXIT_OK, or the failure's status after
// START_RS232_FAILED.
int OpenUart(TCliSession& session)
{
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    bool ok = false;
    const bool linkOk = UartMonitor(session.Board(), ok, true);
    if (linkOk && ok)
        return EXIT_OK;
    session.Console().Error(START_RS232_FAILED);
    return linkOk ? EXIT_BOARD_FAILURE : EXIT_LINK_FAILURE;
}

// Stopped whatever the transfer did; the board's answer to the stop changes nothing.
void StopUart(TBoard& board)
{
    bool stopped = false;
    UartMonitor(board, stopped, false);
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
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("connect"), words, 0, status))
        return status;
    if (!session.OpenBoard(true))
        return EXIT_LINK_FAILURE;
    session.Console().Out(QStringLiteral("Connected"));
    return EXIT_OK;
}

int THx9Ctl::Name(TCliSession& session, const QStringList& words)
{
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("name"), words, 0, status))
        return status;
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
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("ping"), words, 0, status))
        return status;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    if (!session.Board().Ping())
        return session.Fail(QStringLiteral("ping: the board did not answer with success"));
    return EXIT_OK;
}

int THx9Ctl::Leds(TCliSession& session, const QStringList& words)
{
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("leds"), words, 1, status))
        return status;
    uint32_t mask = 0;
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
    bool ok = false;
    {
        std::lock_guard<std::recursive_mutex> lock(session.Board().Lock());
        ok = session.Board().SetLED(mask);
    }
    if (!ok)
        return session.Fail(QStringLiteral("leds: the board did not take the LED mask"));
    session.Console().Out(QString::asprintf("0x%05X", mask));
    return EXIT_OK;
}

int THx9Ctl::Seg7(TCliSession& session, const QStringList& words)
{
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("seg7"), words, 1, status))
        return status;
    const THexFieldResult field =
        TCliSession::ReadHexArgument(words[0], QStringLiteral("Digits"), SEG7_DIGITS_MAX, 0);
    if (!field.Accepted)
        return session.UsageError(field.Message);
    const uint32_t digits = static_cast<uint32_t>(field.Value);
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    bool ok = false;
    {
        std::lock_guard<std::recursive_mutex> lock(session.Board().Lock());
        ok = session.Board().SetSeg7(digits, SEG7_EXTRA);
    }
    if (!ok)
        return session.Fail(QStringLiteral("seg7: the board did not take the digits"));
    session.Console().Out(QString::asprintf("%04X", digits));
    return EXIT_OK;
}

int THx9Ctl::Switches(TCliSession& session, const QStringList& words)
{
    // Bits 0-3 of the state are the keys, bits 4-13 the switches.
    constexpr uint32_t KEY_MASK = 0xF;
    constexpr int SWITCH_SHIFT = 4;
    constexpr uint32_t SWITCH_MASK = 0x3FF;
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("switches"), words, 0, status))
        return status;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    uint32_t state = 0;
    bool ok = false;
    {
        std::lock_guard<std::recursive_mutex> lock(session.Board().Lock());
        ok = session.Board().QueryButtonSwitch(state);
    }
    if (!ok)
        return session.Fail(QStringLiteral("switches: the board did not report the keys and switches"));
    session.Console().Out(QString::asprintf("keys 0x%X", state & KEY_MASK));
    session.Console().Out(
        QString::asprintf("switches 0x%X", (state >> SWITCH_SHIFT) & SWITCH_MASK));
    return EXIT_OK;
}

int THx9Ctl::SdCard(TCliSession& session, const QStringList& words)
{
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("sd"), words, 0, status))
        return status;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    bool present = false;
    bool flag = false;
    QString csd;
    QString cid;
    QString fileSystem;
    bool ok = false;
    {
        std::lock_guard<std::recursive_mutex> lock(session.Board().Lock());
        session.Board().DrainInput();
        ok = session.Board().QuerySDCardInfo(present, csd, cid, fileSystem, flag);
    }
    TConsole& console = session.Console();
    if (!ok)
    {
        console.Error(QLatin1String(SDCARD_FAILED_TEXT));
        return EXIT_LINK_FAILURE;
    }
    if (!present)
    {
        console.Error(QLatin1String(SDCARD_FAILED_TEXT));
        console.Error(QLatin1String(SDCARD_ABSENT_TEXT));
        return EXIT_BOARD_FAILURE;
    }
    console.OutRaw(SDCardReportText(cid, csd, fileSystem).toLocal8Bit());
    return EXIT_OK;
}

int THx9Ctl::Adc(TCliSession& session, const QStringList& words)
{
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("adc"), words, 0, status))
        return status;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    TAdcBlock block{};
    bool ok = false;
    {
        std::lock_guard<std::recursive_mutex> lock(session.Board().Lock());
        ok = session.Board().MemoryRead(MEM_TYPE_ADC, ADC_BLOCK_ADDRESS, ADC_BLOCK_BYTES,
                                        block.data());
    }
    if (!ok)
        return session.Fail(QStringLiteral("adc: the board did not report the ADC channels"));
    session.Console().OutRaw(AdcReadoutText(block, QStringLiteral("\n")).toLocal8Bit());
    return EXIT_OK;
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
    // The panel sends the text with its terminating zero byte.
    QByteArray bytes = words.join(QLatin1Char(' ')).toLocal8Bit();
    bytes.append('\0');
    const int started = OpenUart(session);
    if (started != EXIT_OK)
        return started;
    TBoard& board = session.Board();
    bool ok = false;
    bool linkOk = false;
    {
        std::lock_guard<std::recursive_mutex> lock(board.Lock());
        linkOk = board.UartWrite(ok, DEVICE_UART_USB, static_cast<int32_t>(bytes.size()),
                                 reinterpret_cast<const uint8_t*>(bytes.constData()));
    }
    StopUart(board);
    if (!linkOk)
    {
        session.Console().Error(TRANSMIT_FAILED);
        return EXIT_LINK_FAILURE;
    }
    if (!ok)
    {
        session.Console().Error(TRANSMIT_FAILED);
        return EXIT_BOARD_FAILURE;
    }
    return EXIT_OK;
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
    TBoard& board = session.Board();
    bool ok = false;
    QElapsedTimer clock;
    clock.start();
    int status = EXIT_OK;
    for (;;)
    {
        uint8_t block[UART_BLOCK_LEN] = {};
        int32_t count = 0;
        bool linkOk = false;
        {
            std::lock_guard<std::recursive_mutex> lock(board.Lock());
            linkOk = board.UartRead(ok, DEVICE_UART_USB, count, block);
        }
        if (!linkOk || !ok)
        {
            session.Console().Error(RECEIVE_FAILED);
            status = linkOk ? EXIT_BOARD_FAILURE : EXIT_LINK_FAILURE;
            break;
        }
        // Bytes up to the first zero byte, as the panel appends them.
        const QByteArray bytes(reinterpret_cast<const char*>(block), count);
        session.Console().OutRaw(bytes.left(bytes.indexOf('\0') < 0 ? count : bytes.indexOf('\0')));
        if (clock.elapsed() >= waitMs)
            break;
        QThread::msleep(UART_POLL_INTERVAL_MS);
    }
    StopUart(board);
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
    TBoard& board = session.Board();
    bool ok = false;
    if (!board.DeviceControl(ok, DEVICE_HDMI_TX, DEVICE_ACTION_START, 0))
    {
        console.Error(
            QStringLiteral("hdmi: the board did not answer the start of the HDMI transmitter"));
        return EXIT_LINK_FAILURE;
    }
    if (!ok)
    {
        console.Error(QStringLiteral("hdmi: the board refused to start the HDMI transmitter"));
        return EXIT_BOARD_FAILURE;
    }
    bool linkOk = false;
    {
        std::lock_guard<std::recursive_mutex> lock(board.Lock());
        board.DrainInput();
        linkOk = board.DeviceControl(ok, DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN,
                                     static_cast<uint8_t>(code));
    }
    if (!linkOk || !ok)
    {
        console.Error(QStringLiteral("hdmi: the board did not take the pattern"));
        return linkOk ? EXIT_BOARD_FAILURE : EXIT_LINK_FAILURE;
    }
    console.Out(QStringLiteral("%1 %2").arg(code).arg(
        QLatin1String(HdmiPatternNames[static_cast<std::size_t>(code)])));
    return EXIT_OK;
}

int THx9Ctl::Hsmc(TCliSession& session, const QStringList& words)
{
    int status = EXIT_OK;
    if (WrongCount(session, QStringLiteral("hsmc"), words, 0, status))
        return status;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    bool ok = false;
    uint64_t ioMask = 0;
    uint32_t xcvrMask = 0;
    bool linkOk = false;
    {
        std::lock_guard<std::recursive_mutex> lock(session.Board().Lock());
        linkOk = session.Board().HsmcLoopbackTest(ok, ioMask, xcvrMask);
    }
    TConsole& console = session.Console();
    if (!linkOk || !ok)
    {
        console.Error(QLatin1String(HSMC_FAILED_TEXT));
        return linkOk ? EXIT_BOARD_FAILURE : EXIT_LINK_FAILURE;
    }
    if (ioMask == 0 && xcvrMask == 0)
    {
        console.Out(QLatin1String(HSMC_PASS_TEXT));
        return EXIT_OK;
    }
    console.Out(QLatin1String(HSMC_NG_TEXT));
    console.OutRaw(CrLfToLf(HsmcReportText(ioMask, xcvrMask)).toLocal8Bit());
    return EXIT_BOARD_FAILURE;
}
