#pragma once

#include <QString>
#include <QStringList>

inline constexpr const char* PROGRAM_FILE_NAME = "hx9-control-panel";

// The control panel's own command line: --help and --version, answered before Qt opens a
// display. Qt takes its own options (-platform, -display, ...) out of the arguments.
struct TStartOptions
{
    enum TAction
    {
        saRun,
        saHelp,
        saVersion,
        saUnknown // Unknown holds the first argument nobody knows
    };

    TAction Action = saRun;
    QString Unknown;

    /// Reads the arguments after the program name; the first of --help or --version wins.
    static TStartOptions Parse(const QStringList& arguments);
};

/// The --help text.
QString StartHelp();
/// The --version line.
QString StartVersion();
/// The one-line complaint about an unknown argument.
QString UnknownOptionText(const QString& argument);
