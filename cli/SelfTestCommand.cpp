#include "cli/SelfTestCommand.h"

#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptGuard.h"
#include "cli/TerminalProgress.h"
#include "selftest/SelfTest.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QRandomGenerator>

namespace
{

constexpr double MS_PER_SECOND = 1000.0;
constexpr int NAME_WIDTH = 18;

QString RowText(const TSelfTestRow& row)
{
    return QStringLiteral("%1  %2 %3 (%4 s)\n")
        .arg(VerdictText(row.Verdict), QString(row.Name).leftJustified(NAME_WIDTH), row.Detail)
        .arg(row.ElapsedMs / MS_PER_SECOND, 0, 'f', 1);
}

// Each row printed as its check ends; the memory passes' progress on the terminal.
class TCliSelfTestView : public TSelfTestView
{
public:
    TCliSelfTestView(TConsole& console, const TInterruptGuard& interrupt)
        : m_Console(console), m_Interrupt(interrupt)
    {
        m_Clock.start();
    }

    void CheckDone(const TSelfTestRow& row) override
    {
        m_Console.OutRaw(RowText(row).toLocal8Bit());
    }
    std::unique_ptr<TTransferProgress> StartProgress() override
    {
        return std::make_unique<TTerminalProgress>(m_Console, m_Interrupt);
    }
    uint32_t TickCount() override { return static_cast<uint32_t>(m_Clock.elapsed()); }

private:
    TConsole& m_Console;
    const TInterruptGuard& m_Interrupt;
    QElapsedTimer m_Clock;
};

QJsonObject RowJson(const TSelfTestRow& row)
{
    return {{QStringLiteral("name"), row.Name},
            {QStringLiteral("result"), VerdictText(row.Verdict)},
            {QStringLiteral("detail"), row.Detail},
            {QStringLiteral("seconds"), row.ElapsedMs / MS_PER_SECOND}};
}

int StatusOf(const TSelfTestOutcome& outcome)
{
    if (outcome.Result != TOpResult::Done)
        return ExitStatusOf(outcome.Result);
    return outcome.Passed() ? EXIT_OK : EXIT_BOARD_FAILURE;
}

} // namespace

int RunSelfTest(TCliSession& session, const TCliArguments&)
{
    const TInterruptGuard interrupt;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    // A fresh seed each run; odd, so that it is never 0.
    const uint32_t seed = QRandomGenerator::global()->generate() | 1;
    TCliSelfTestView view(session.Console(), interrupt);
    const TSelfTestOutcome outcome = TSelfTest(session.Board(), view, seed).Run();

    QJsonArray checks;
    QStringList failed;
    for (const TSelfTestRow& row : outcome.Rows)
    {
        checks.append(RowJson(row));
        if (row.Verdict == TCheckVerdict::Fail)
            failed << row.Name;
    }
    const double seconds = outcome.ElapsedMs / MS_PER_SECOND;
    QJsonObject data{{QStringLiteral("passed"), outcome.Passed()},
                     {QStringLiteral("seconds"), seconds},
                     {QStringLiteral("seed"), static_cast<qint64>(seed)},
                     {QStringLiteral("checks"), checks}};
    QString summary =
        outcome.Passed()
            ? QStringLiteral("Self-test passed")
            : QStringLiteral("Self-test FAILED: %1").arg(failed.join(QStringLiteral(", ")));
    if (outcome.Result != TOpResult::Done)
    {
        const QString error = outcome.Result == TOpResult::Aborted
                                  ? QStringLiteral("aborted")
                                  : QStringLiteral("the link failed");
        data.insert(QStringLiteral("error"), error);
        summary = QStringLiteral("Self-test not finished: %1").arg(error);
    }
    session.Output().Print(data,
                           QStringLiteral("%1 (%2 s)\n").arg(summary).arg(seconds, 0, 'f', 1));
    return StatusOf(outcome);
}
