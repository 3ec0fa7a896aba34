#include "cli/IoCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"
#include "ops/AdcOps.h"
#include "ops/AdcReadout.h"
#include "ops/ButtonOps.h"
#include "ops/HSMCOps.h"
#include "ops/HdmiPattern.h"
#include "ops/HsmcReport.h"
#include "ops/LedOps.h"
#include "ops/SDCardOps.h"
#include "ops/SDCardText.h"
#include "ops/Seg7Ops.h"
#include "ops/VGAOps.h"

namespace
{
QString CrLfToLf(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
} // namespace

int RunLeds(TCliSession& session, const TCliArguments& args)
{
    uint32_t mask = LED_MASK_NONE;
    if (args.Words[0] == QLatin1String("all"))
        mask = LED_MASK_ALL;
    else if (args.Words[0] != QLatin1String("none"))
    {
        const THexFieldResult field =
            TCliSession::ReadHexArgument(args.Words[0], QStringLiteral("Mask"), LED_MASK_ALL, 0);
        if (!field.Accepted)
            return session.UsageError(field.Message);
        mask = static_cast<uint32_t>(field.Value);
    }
    const int status =
        session.OpenAndRun([mask](TBoard& board) { return SetLeds(board, mask); },
                           QStringLiteral("leds: the board did not take the LED mask"));
    if (status == EXIT_OK)
        session.Console().Out(QString::asprintf("0x%05X", mask));
    return status;
}

int RunSeg7(TCliSession& session, const TCliArguments& args)
{
    const THexFieldResult field =
        TCliSession::ReadHexArgument(args.Words[0], QStringLiteral("Digits"), SEG7_VALUE_MAX, 0);
    if (!field.Accepted)
        return session.UsageError(field.Message);
    const uint32_t digits = static_cast<uint32_t>(field.Value);
    const int status =
        session.OpenAndRun([digits](TBoard& board) { return SetSeg7Digits(board, digits); },
                           QStringLiteral("seg7: the board did not take the digits"));
    if (status == EXIT_OK)
        session.Console().Out(QString::asprintf("%04X", digits));
    return status;
}

int RunSwitches(TCliSession& session, const TCliArguments&)
{
    uint32_t state = 0;
    const int status = session.OpenAndRun(
        [&state](TBoard& board) { return QueryKeysSwitches(board, state); },
        QStringLiteral("switches: the board did not report the keys and switches"));
    if (status != EXIT_OK)
        return status;
    session.Console().Out(QString::asprintf("keys 0x%X", KeysOf(state)));
    session.Console().Out(QString::asprintf("switches 0x%X", SwitchesOf(state)));
    return EXIT_OK;
}

int RunSdCard(TCliSession& session, const TCliArguments&)
{
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

int RunAdc(TCliSession& session, const TCliArguments&)
{
    TAdcBlock block{};
    const int status =
        session.OpenAndRun([&block](TBoard& board) { return ReadAdc(board, block); },
                           QStringLiteral("adc: the board did not report the ADC channels"));
    if (status == EXIT_OK)
        session.Console().OutRaw(AdcReadoutText(block, QStringLiteral("\n")).toLocal8Bit());
    return status;
}

int RunHdmi(TCliSession& session, const TCliArguments& args)
{
    TConsole& console = session.Console();
    if (args.Has(OPTION_LIST))
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

int RunHsmc(TCliSession& session, const TCliArguments&)
{
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
