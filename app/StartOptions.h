#pragma once

#include <QString>
#include <QStringList>

inline constexpr const char* PROGRAM_FILE_NAME = "hx9-control-panel";
// The virtual Quartus folder in the program folder.
inline constexpr const char* VIRTUAL_QUARTUS_FOLDER = "quartus";

// The control panel's own command line: --help and --version, answered before Qt opens a
// display, and --virtual-board. Qt takes its own options (-platform, -display, ...) out of
// the arguments.
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
    bool bVirtualBoard = false; // the bundled virtual programmer instead of the user's Quartus

    /// Reads the arguments after the program name; the first of --help or --version wins.
    static TStartOptions Parse(const QStringList& arguments);
};

/// The --help text.
QString StartHelp();
/// The --version line.
QString StartVersion();
/// The one-line complaint about an unknown argument.
QString UnknownOptionText(const QString& argument);
/// Points QUARTUS_ROOTDIR, for this process and what it starts, at the virtual programmer
/// beside the program, so the virtual board is configured as a real one would be.
void UseVirtualProgrammer(const QString& programFolder);
