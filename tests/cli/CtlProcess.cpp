#include "CtlProcess.h"

#include "tests/support/VirtualBoardProcess.h"

namespace
{
// Deadline for a hung run; every command here ends in seconds.
constexpr int RUN_DEADLINE_MS = 120000;
} // namespace

void PrepareCtl(QProcess& process, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUARTUS_ROOTDIR"),
                       QString::fromStdString(hx9test::QuartusRoot()));
    process.setProcessEnvironment(environment);
    process.setProgram(QString::fromStdString(hx9test::ProgramDir()) + QStringLiteral("/hx9ctl"));
    process.setArguments(arguments);
}

TCtlResult RunCtl(const QStringList& arguments)
{
    QProcess process;
    PrepareCtl(process, arguments);
    return RunCtl(process);
}

TCtlResult RunCtl(QProcess& process)
{
    process.start();
    TCtlResult result;
    if (!process.waitForStarted() || !process.waitForFinished(RUN_DEADLINE_MS))
    {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.OutBytes = process.readAllStandardOutput();
    result.Out = QString::fromLocal8Bit(result.OutBytes);
    result.Err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}
