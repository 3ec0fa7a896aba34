#include "makerlibs/download/ChildProcess.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>

#include <algorithm>

namespace
{
// Keeps what still fits under the limit; the rest is dropped.
void Keep(const QByteArray& chunk, std::string& output)
{
    const size_t room = TChildProcess::OUTPUT_LIMIT_BYTES - output.size();
    output.append(chunk.constData(), std::min(static_cast<size_t>(chunk.size()), room));
}
} // namespace

TChildResult TChildProcess::Run(const std::string& program, const std::vector<std::string>& args,
                                const std::string& folder, int limitMs)
{
    TChildResult result;
    const QDeadlineTimer deadline(std::max(limitMs, 0));
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromLocal8Bit(arg);
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!folder.empty())
        process.setWorkingDirectory(QString::fromLocal8Bit(folder));
    process.start(QString::fromLocal8Bit(program), arguments);
    result.bStarted = process.waitForStarted(-1);
    if (!result.bStarted)
        return result;
    // Output is taken as it comes, so the child never blocks on a full pipe. The wait ends with
    // the child itself: a process it started may keep the pipe open long after.
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
    {
        // No output to wait for: the child closed it, or ended.
        if (!process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            process.waitForFinished(static_cast<int>(deadline.remainingTime()));
        Keep(process.readAllStandardOutput(), result.sOutput);
    }
    if (process.state() != QProcess::NotRunning)
    {
        process.kill();
        process.waitForFinished(-1);
        return result;
    }
    Keep(process.readAllStandardOutput(), result.sOutput);
    result.bFinished = true;
    // A host that ignores SIGCHLD has its children reaped for it: the end is seen, its status
    // is not, and that counts as a crash.
    result.nExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}
