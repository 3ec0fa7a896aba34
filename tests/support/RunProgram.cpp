#include "tests/support/RunProgram.h"

#include <QProcess>
#include <QStringList>

#include <climits>
#include <unistd.h>

namespace hx9test
{

TProgramRun RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout)
{
    TProgramRun run;
    if (argv.empty())
    {
        run.Err = "no program given";
        return run;
    }
    QStringList arguments;
    for (auto arg = argv.begin() + 1; arg != argv.end(); ++arg)
        arguments << QString::fromLocal8Bit(*arg);
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    // Closed at exec, so the program holds nothing of ours but its standard streams.
    process.setChildProcessModifier(
        [] { ::close_range(STDERR_FILENO + 1, UINT_MAX, CLOSE_RANGE_CLOEXEC); });
    process.start(QString::fromLocal8Bit(argv[0]), arguments);
    if (!process.waitForStarted(-1))
    {
        run.Err = process.errorString().toStdString();
        return run;
    }
    run.Started = true;
    if (!process.waitForFinished(static_cast<int>(timeout.count())))
    {
        run.TimedOut = true;
        process.kill();
        process.waitForFinished(-1);
    }
    run.Out = process.readAllStandardOutput().toStdString();
    run.Err = process.readAllStandardError().toStdString();
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode()
                                                                : 128 + process.exitCode();
    return run;
}

} // namespace hx9test
