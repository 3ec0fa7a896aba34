#include "cli/IoCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"
#include "cli/Watch.h"
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

#include <QJsonArray>

namespace
{

constexpr double MILLIVOLTS_PER_VOLT = 1000.0;

QString CrLfToLf(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A report's lines as fields, as printed: "-Name:value", or "-Name value" without a colon.
QJsonObject ReportFields(const QString& report)
{
    QJsonObject fields;
    for (QString line : report.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('-')))
            line.remove(0, 1);
        qsizetype cut = line.indexOf(QLatin1Char(':'));
        if (cut < 0)
            cut = line.lastIndexOf(QLatin1Char(' '));
        if (cut <= 0)
            fields.insert(line, QString());
        else
            fields.insert(line.left(cut).trimmed(), line.mid(cut + 1).trimmed());
    }
    return fields;
}

TOpResult ReadSwitches(TBoard& board, TCliSample& sample)
{
    uint32_t state = 0;
    const TOpResult result = QueryKeysSwitches(board, state);
    const uint32_t keys = KeysOf(state);
    const uint32_t switches = SwitchesOf(state);
    sample.Data = {{QStringLiteral("keys"), static_cast<qint64>(keys)},
                   {QStringLiteral("switches"), static_cast<qint64>(switches)}};
    sample.Text = QString::asprintf("keys 0x%X\nswitches 0x%X\n", keys, switches);
    return result;
}

TOpResult ReadChannels(TBoard& board, TCliSample& sample)
{
    TAdcBlock block{};
    const TOpResult result = ReadAdc(board, block);
    QJsonArray volts;
    QJsonArray raw;
    for (uint32_t channel = 0; channel < ADC_CHANNEL_COUNT; ++channel)
    {
        const uint16_t word = AdcChannelMillivolts(block, channel);
        volts.append(word / MILLIVOLTS_PER_VOLT);
        raw.append(word);
    }
    sample.Data = {{QStringLiteral("volts"), volts}, {QStringLiteral("raw"), raw}};
    sample.Text = AdcReadoutText(block, QStringLiteral("\n"));
    return result;
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
        session.Output().Print({{QStringLiteral("leds"), static_cast<qint64>(mask)}},
                               QString::asprintf("0x%05X\n", mask));
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
        session.Output().Print({{QStringLiteral("digits"), static_cast<qint64>(digits)}},
                               QString::asprintf("%04X\n", digits));
    return status;
}

int RunSwitches(TCliSession& session, const TCliArguments& args)
{
    return RunSampled(session, args, ReadSwitches,
                      QStringLiteral("switches: the board did not report the keys and switches"));
}

int RunSdCard(TCliSession& session, const TCliArguments&)
{
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    TSDCardInfo card;
    const TOpResult result = QuerySDCard(session.Board(), card);
    // One message: the absent card's, or the failed exchange's.
    const int status =
        session.Report(result, QLatin1String(result == TOpResult::Refused ? SDCARD_ABSENT_TEXT
                                                                          : SDCARD_FAILED_TEXT));
    if (status == EXIT_OK)
        session.Output().Print({{QStringLiteral("present"), true},
                                {QStringLiteral("cid"), ReportFields(card.Cid)},
                                {QStringLiteral("csd"), ReportFields(card.Csd)},
                                {QStringLiteral("file_system"), card.FileSystem}},
                               SDCardReportText(card.Cid, card.Csd, card.FileSystem));
    return status;
}

int RunAdc(TCliSession& session, const TCliArguments& args)
{
    return RunSampled(session, args, ReadChannels,
                      QStringLiteral("adc: the board did not report the ADC channels"));
}

int RunHdmi(TCliSession& session, const TCliArguments& args)
{
    if (args.Has(OPTION_LIST))
    {
        if (!args.Words.isEmpty())
            return session.UsageError(QStringLiteral("hdmi: --list takes no PATTERN"));
        QJsonArray patterns;
        QString text;
        for (int code = 0; code < HDMI_PATTERN_COUNT; ++code)
        {
            const QString name = QLatin1String(HdmiPatternNames[static_cast<std::size_t>(code)]);
            patterns.append(
                QJsonObject{{QStringLiteral("pattern"), code}, {QStringLiteral("name"), name}});
            text += QStringLiteral("%1 %2\n").arg(code).arg(name);
        }
        session.Output().Print({{QStringLiteral("patterns"), patterns}}, text);
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
    const QString name = QLatin1String(HdmiPatternNames[static_cast<std::size_t>(code)]);
    session.Output().Print({{QStringLiteral("pattern"), code}, {QStringLiteral("name"), name}},
                           QStringLiteral("%1 %2\n").arg(code).arg(name));
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
    const bool passed = errors.None();
    const QString text = passed ? QLatin1String(HSMC_PASS_TEXT) + QLatin1Char('\n')
                                : QLatin1String(HSMC_NG_TEXT) + QLatin1Char('\n') +
                                      CrLfToLf(HsmcReportText(errors.Io, errors.Xcvr));
    session.Output().Print({{QStringLiteral("passed"), passed},
                            {QStringLiteral("io_error_mask"), static_cast<qint64>(errors.Io)},
                            {QStringLiteral("xcvr_error_mask"), static_cast<qint64>(errors.Xcvr)},
                            {QStringLiteral("failing_pins"),
                             QJsonArray::fromStringList(HsmcFailingPins(errors.Io, errors.Xcvr))}},
                           text);
    // A loopback that ran and found failing pins is the board's failure.
    return passed ? EXIT_OK : EXIT_BOARD_FAILURE;
}
