#include "cli/Watch.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptGuard.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <optional>

namespace
{

constexpr int WATCH_MS_MAX = 24 * 60 * 60 * 1000;
constexpr qint64 WAIT_SLICE_MS = 10; // how soon Ctrl-C ends a wait
constexpr double MS_PER_SECOND = 1000.0;

// The interval of --watch, or none without it; false after a usage error.
bool ReadInterval(TCliSession& session, const TCliArguments& args, std::optional<int>& interval,
                  int& status)
{
    const std::optional<QString> text = args.Value(OPTION_WATCH);
    if (!text)
        return true;
    bool number = false;
    const int ms = text->toInt(&number, 10);
    if (!number || ms < 1 || ms > WATCH_MS_MAX)
    {
        status =
            session.UsageError(QStringLiteral("%1: invalid interval '%2' (milliseconds, 1 to %3)")
                                   .arg(args.Command, *text)
                                   .arg(WATCH_MS_MAX));
        return false;
    }
    interval = ms;
    return true;
}

// Waits until intervalMs passed on clock, or Ctrl-C; false after Ctrl-C.
bool WaitOut(const QElapsedTimer& clock, int intervalMs, const TInterruptGuard& interrupt)
{
    for (qint64 left = intervalMs - clock.elapsed(); left > 0 && !interrupt.IsInterrupted();
         left = intervalMs - clock.elapsed())
        QThread::msleep(static_cast<unsigned long>(std::min(left, WAIT_SLICE_MS)));
    return !interrupt.IsInterrupted();
}

int Watch(TCliSession& session, int intervalMs, const TSampleReader& read,
          const QString& failureText)
{
    const TInterruptGuard interrupt;
    QElapsedTimer clock;
    do
    {
        clock.start();
        const qint64 taken = QDateTime::currentMSecsSinceEpoch();
        TCliSample sample;
        const TOpResult result = read(session.Board(), sample);
        if (result != TOpResult::Done)
            return session.Report(result, failureText);
        sample.Data.insert(QStringLiteral("time"), static_cast<double>(taken) / MS_PER_SECOND);
        const QString time =
            QDateTime::fromMSecsSinceEpoch(taken).toString(QStringLiteral("HH:mm:ss.zzz"));
        session.Output().PrintSample(sample.Data, time + QLatin1Char(' ') + sample.Text);
    } while (!interrupt.IsInterrupted() && WaitOut(clock, intervalMs, interrupt));
    // Ctrl-C is how a watch ends: no failure to report.
    session.Output().MarkAnswered();
    return EXIT_ABORTED;
}

} // namespace

int RunSampled(TCliSession& session, const TCliArguments& args, const TSampleReader& read,
               const QString& failureText)
{
    std::optional<int> interval;
    int status = EXIT_OK;
    if (!ReadInterval(session, args, interval, status))
        return status;
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    if (interval)
        return Watch(session, *interval, read, failureText);
    TCliSample sample;
    status = session.Report(read(session.Board(), sample), failureText);
    if (status == EXIT_OK)
        session.Output().Print(sample.Data, sample.Text);
    return status;
}
