#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// hx9ctl's command line: options may stand before or after the command, GNU style
// (-m sram, -msram, --memory sram, --memory=sram, clustered flags, "--" ends options). The
// options are those of the option table.
struct TCliArguments
{
    QString Command;                // empty when none was given
    QStringList Words;              // everything after the command that is not an option
    QStringList Options;            // long names of the options given, in order, once each
    QHash<QString, QString> Values; // the last value given to each option that takes one
    QString Error;                  // why the line could not be read; empty when it could

    /// True when the option (its long name) was given.
    bool Has(const char* option) const { return Options.contains(QLatin1String(option)); }
    /// The value given to the option, or none when it was not given.
    std::optional<QString> Value(const char* option) const;
};

/// Reads the arguments that follow the program name.
TCliArguments ParseCliArguments(const QStringList& arguments);
