#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// hx9ctl's command line: options may stand before or after the command, GNU style
// (-m sram, -msram, --memory sram, --memory=sram, clustered flags, "--" ends options).
struct TCliArguments
{
    QString Command;   // empty when none was given
    QStringList Words; // everything after the command that is not an option
    bool Help = false;
    bool Version = false;
    bool Configure = false;
    bool List = false;
    std::optional<QString> Memory;
    std::optional<QString> WaitMs;
    QStringList OptionsSeen; // long names of the options given, for the per-command check
    QString Error;           // why the line could not be read; empty when it could
};

/// Reads the arguments that follow the program name.
TCliArguments ParseCliArguments(const QStringList& arguments);
