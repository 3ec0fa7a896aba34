#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the built hx9ctl as a real process, with QUARTUS_ROOTDIR on the virtual Quartus
// folder and the JTAG server the test's virtual board has set.
struct TCtlResult
{
    int Status = -1;
    QString Out;
    QString Err;
    QByteArray OutBytes; // stdout as it came
};

/// Runs hx9ctl with arguments to its end; a run that hangs past the deadline is killed and
/// reported with status -1.
TCtlResult RunCtl(const QStringList& arguments);

/// Runs a process that PrepareCtl set up (and the test adjusted) to its end, as RunCtl does.
TCtlResult RunCtl(QProcess& prepared);

/// Sets up (but does not start) an hx9ctl process, for tests that talk to it while it runs.
void PrepareCtl(QProcess& process, const QStringList& arguments);
