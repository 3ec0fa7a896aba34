#include "selftest/SelfTest.h"

#include "board/Board.h"
#include "ops/AdcOps.h"
#include "ops/AdcReadout.h"
#include "ops/BoardOutcome.h"
#include "ops/ButtonOps.h"
#include "ops/HSMCOps.h"
#include "ops/HsmcReport.h"
#include "ops/SDCardOps.h"
#include "session/ConnectSequence.h"
#include "transfer/BoardMemoryLink.h"
#include "transfer/MemoryCheck.h"
#include "transfer/MemoryTransfer.h"
#include "transfer/MemoryType.h"

#include <QStringList>
#include <functional>

namespace
{

constexpr double MILLIVOLTS_PER_VOLT = 1000.0;
constexpr uint32_t WORD_BYTES = 2;

// One pass of a memory check, by the name its failures are told with.
struct TMemoryPass
{
    const char* Name;
    std::function<TMemoryCheckResult(TTransferProgress&)> Run;
};

QString FailureDetail(TOpResult result)
{
    return result == TOpResult::Refused ? QStringLiteral("the board refused")
                                        : QStringLiteral("no valid answer");
}

// Runs the passes in order into the row: Pass, or Fail with the failing words by pass and the
// first failing word. A pass the board or the user stops ends the check with its result.
TOpResult RunPasses(const std::vector<TMemoryPass>& passes, TSelfTestView& view, TSelfTestRow& row,
                    const QString& passedDetail)
{
    QStringList failed;
    QString first;
    for (const TMemoryPass& pass : passes)
    {
        const std::unique_ptr<TTransferProgress> progress = view.StartProgress();
        const TMemoryCheckResult result = pass.Run(*progress);
        if (result.Result != TOpResult::Done)
        {
            row.Verdict = TCheckVerdict::Fail;
            row.Detail = QStringLiteral("%1: %2").arg(QLatin1String(pass.Name),
                                                      result.Result == TOpResult::Aborted
                                                          ? QStringLiteral("aborted")
                                                          : FailureDetail(result.Result));
            return result.Result;
        }
        if (result.FailingWords == 0)
            continue;
        failed << QStringLiteral("%1 %2").arg(QLatin1String(pass.Name)).arg(result.FailingWords);
        if (first.isEmpty())
            first = MemoryFaultText(result.First.front());
    }
    row.Verdict = failed.isEmpty() ? TCheckVerdict::Pass : TCheckVerdict::Fail;
    row.Detail = failed.isEmpty() ? passedDetail
                                  : QStringLiteral("failing words by pass: %1; first %2")
                                        .arg(failed.join(QStringLiteral(", ")), first);
    return TOpResult::Done;
}

// Done, or a board failure told in the row.
TOpResult Failed(TSelfTestRow& row, TOpResult result)
{
    row.Verdict = TCheckVerdict::Fail;
    row.Detail = FailureDetail(result);
    return result;
}

// A check the board may refuse for want of what it needs: a refusal skips it, told by why;
// any other failure is a board failure told in the row.
TOpResult SkippedOrFailed(TSelfTestRow& row, TOpResult result, const QString& why)
{
    if (result != TOpResult::Refused)
        return Failed(row, result);
    row.Verdict = TCheckVerdict::Skip;
    row.Detail = why;
    return result;
}

} // namespace

bool TSelfTestOutcome::Passed() const
{
    if (Result != TOpResult::Done)
        return false;
    for (const TSelfTestRow& row : Rows)
    {
        if (row.Verdict == TCheckVerdict::Fail)
            return false;
    }
    return true;
}

QString VerdictText(TCheckVerdict verdict)
{
    switch (verdict)
    {
    case TCheckVerdict::Pass:
        return QStringLiteral("PASS");
    case TCheckVerdict::Fail:
        return QStringLiteral("FAIL");
    case TCheckVerdict::Skip:
        break;
    }
    return QStringLiteral("SKIP");
}

TSelfTest::TSelfTest(TBoard& board, TSelfTestView& view, uint32_t seed)
    : m_Board(board), m_View(view), m_Seed(seed)
{
}

TSelfTestOutcome TSelfTest::Run()
{
    using TCheck = TOpResult (TSelfTest::*)(TSelfTestRow&);
    struct TNamedCheck
    {
        const char* Name;
        TCheck Run;
    };
    static constexpr TNamedCheck CHECKS[] = {
        {"link and name", &TSelfTest::LinkAndName},
        {"keys and switches", &TSelfTest::KeysAndSwitches},
        {"ADC", &TSelfTest::Adc},
        {"SD card", &TSelfTest::SdCard},
        {"HSMC loopback", &TSelfTest::HsmcLoopback},
        {"SRAM", &TSelfTest::Sram},
        {"LPDDR2", &TSelfTest::Lpddr2},
    };
    TSelfTestOutcome outcome;
    const uint32_t start = m_View.TickCount();
    for (const TNamedCheck& check : CHECKS)
    {
        TSelfTestRow row;
        row.Name = QLatin1String(check.Name);
        const uint32_t checkStart = m_View.TickCount();
        if (outcome.Result == TOpResult::Done)
        {
            const TOpResult result = (this->*check.Run)(row);
            // A refusal is the check's own verdict; a lost link or an abort ends the test.
            if (result == TOpResult::LinkFailed || result == TOpResult::Aborted)
                outcome.Result = result;
        }
        else
        {
            row.Verdict = TCheckVerdict::Skip;
            row.Detail = QStringLiteral("not run");
        }
        row.ElapsedMs = m_View.TickCount() - checkStart;
        m_View.CheckDone(row);
        outcome.Rows.push_back(row);
    }
    outcome.ElapsedMs = m_View.TickCount() - start;
    return outcome;
}

TOpResult TSelfTest::LinkAndName(TSelfTestRow& row)
{
    QString name;
    if (!m_Board.QueryBoardName(name))
        return Failed(row, CommandOutcome(m_Board, false));
    row.Detail = name;
    if (name != QLatin1String(BOARD_NAME))
    {
        row.Verdict = TCheckVerdict::Fail;
        row.Detail =
            QStringLiteral("the board answered '%1', not %2").arg(name, QLatin1String(BOARD_NAME));
    }
    return TOpResult::Done;
}

TOpResult TSelfTest::KeysAndSwitches(TSelfTestRow& row)
{
    uint32_t state = 0;
    const TOpResult result = QueryKeysSwitches(m_Board, state);
    if (result != TOpResult::Done)
        return Failed(row, result);
    row.Detail = QString::asprintf("keys 0x%X, switches 0x%X", KeysOf(state), SwitchesOf(state));
    return result;
}

TOpResult TSelfTest::Adc(TSelfTestRow& row)
{
    TAdcBlock block{};
    const TOpResult result = ReadAdc(m_Board, block);
    if (result != TOpResult::Done)
        return Failed(row, result);
    QStringList volts;
    for (uint32_t channel = 0; channel < ADC_CHANNEL_COUNT; ++channel)
        volts << QString::asprintf("%.3f",
                                   AdcChannelMillivolts(block, channel) / MILLIVOLTS_PER_VOLT);
    row.Detail = QStringLiteral("CH0-CH7 %1 V").arg(volts.join(QLatin1Char(' ')));
    return result;
}

TOpResult TSelfTest::SdCard(TSelfTestRow& row)
{
    TSDCardInfo card;
    const TOpResult result = QuerySDCard(m_Board, card);
    if (result != TOpResult::Done)
        return SkippedOrFailed(row, result, QStringLiteral("no SD card"));
    row.Detail = QStringLiteral("report read, file system %1").arg(card.FileSystem);
    return result;
}

TOpResult TSelfTest::HsmcLoopback(TSelfTestRow& row)
{
    THsmcErrors errors;
    const TOpResult result = RunHsmcLoopback(m_Board, errors);
    if (result != TOpResult::Done)
        return SkippedOrFailed(row, result,
                               QStringLiteral("the board refused the loopback (no adapter?)"));
    row.Detail = QStringLiteral("no failing pin");
    if (!errors.None())
    {
        row.Verdict = TCheckVerdict::Fail;
        row.Detail = QStringLiteral("failing pins %1")
                         .arg(HsmcFailingPins(errors.Io, errors.Xcvr).join(QStringLiteral(", ")));
    }
    return result;
}

TOpResult TSelfTest::Sram(TSelfTestRow& row)
{
    const TMemoryType& type = MemoryTypeAt(MEMORY_TYPE_SRAM);
    TBoardMemoryLink link(m_Board);
    TMemoryCheck check(link, type.Code, 0, type.Words());
    const uint32_t seed = m_Seed;
    return RunPasses(
        {{"data bus", [&](TTransferProgress&) { return check.DataBus(); }},
         {"address bus", [&](TTransferProgress&) { return check.AddressBus(); }},
         {"random pattern", [&](TTransferProgress& p) { return check.RandomPattern(seed, p); }},
         {"complement pattern", [&](TTransferProgress& p) { return check.Complement(seed, p); }},
         {"own address", [&](TTransferProgress& p) { return check.OwnAddress(p); }}},
        m_View, row,
        QString::asprintf("%X words: buses, random pattern (seed %X), complement, own address",
                          type.Words(), seed));
}

TOpResult TSelfTest::Lpddr2(TSelfTestRow& row)
{
    const TMemoryType& type = MemoryTypeAt(MEMORY_TYPE_LPDDR2);
    TBoardMemoryLink link(m_Board);
    TMemoryCheck whole(link, type.Code, 0, type.Words());
    const uint32_t patternWords = SELFTEST_LPDDR2_PATTERN_BYTES / WORD_BYTES;
    TMemoryCheck first(link, type.Code, 0, patternWords);
    const uint32_t seed = m_Seed;
    return RunPasses(
        {{"data bus", [&](TTransferProgress&) { return whole.DataBus(); }},
         {"address bus", [&](TTransferProgress&) { return whole.AddressBus(); }},
         {"random pattern", [&](TTransferProgress& p) { return first.RandomPattern(seed, p); }},
         {"complement pattern", [&](TTransferProgress& p) { return first.Complement(seed, p); }}},
        m_View, row,
        QString::asprintf("%d address lines; random pattern (seed %X) and complement over the "
                          "first %X words",
                          whole.AddressLines(), seed, patternWords));
}
