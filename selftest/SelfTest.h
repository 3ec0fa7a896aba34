#pragma once

#include "ops/OpResult.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class TBoard;
class TTransferProgress;

enum class TCheckVerdict
{
    Pass,
    Fail,
    Skip // the board cannot run the check: no SD card, no loopback adapter, or not run
};

// One check of the self-test and how it ended.
struct TSelfTestRow
{
    QString Name;
    TCheckVerdict Verdict = TCheckVerdict::Pass;
    QString Detail;
    uint32_t ElapsedMs = 0;
};

// What the self-test shows while it runs.
class TSelfTestView
{
public:
    virtual ~TSelfTestView() = default;

    /// A check ended (or, after a lost link or an abort, was left out).
    virtual void CheckDone(const TSelfTestRow& row) = 0;
    /// The progress display of one memory pass; it lives until the pass ends and aborts the
    /// self-test when it says so.
    virtual std::unique_ptr<TTransferProgress> StartProgress() = 0;
    /// Millisecond tick for the checks' times.
    virtual uint32_t TickCount() = 0;
};

// How the self-test ended: Done when every check ran, whatever it found; LinkFailed or
// Aborted when the checks stopped there (those left are Skip rows).
struct TSelfTestOutcome
{
    TOpResult Result = TOpResult::Done;
    std::vector<TSelfTestRow> Rows;
    uint32_t ElapsedMs = 0;

    /// True when every check ran and none failed.
    bool Passed() const;
};

// Bytes of LPDDR2 the quick test writes with the pattern and its complement.
inline constexpr uint32_t SELFTEST_LPDDR2_PATTERN_BYTES = 1024 * 1024;

// The board's bring-up and production check, window-free, on the peripherals' own operations:
// the link and the board name, the keys and switches, the ADC, the SD card, the HSMC loopback,
// the whole SRAM memory test, and a quick LPDDR2 test (data bus, every address line, a
// pattern and its complement over the first MB). SRAM and LPDDR2 contents are overwritten.
class TSelfTest
{
public:
    /// seed: the memory patterns' seed.
    TSelfTest(TBoard& board, TSelfTestView& view, uint32_t seed);

    /// Runs every check in order on a board whose link is open.
    TSelfTestOutcome Run();

private:
    TOpResult LinkAndName(TSelfTestRow& row);
    TOpResult KeysAndSwitches(TSelfTestRow& row);
    TOpResult Adc(TSelfTestRow& row);
    TOpResult SdCard(TSelfTestRow& row);
    TOpResult HsmcLoopback(TSelfTestRow& row);
    TOpResult Sram(TSelfTestRow& row);
    TOpResult Lpddr2(TSelfTestRow& row);

    TBoard& m_Board;
    TSelfTestView& m_View;
    uint32_t m_Seed;
};

/// "PASS", "FAIL" or "SKIP".
QString VerdictText(TCheckVerdict verdict);
