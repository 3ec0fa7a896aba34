#pragma once

#include <QString>

/// The program's --help text.
QString ProgramHelp();
/// The --help text of one command; empty for an unknown command.
QString CommandHelp(const QString& command);
/// Commands hx9ctl knows, as listed in the help.
bool IsKnownCommand(const QString& command);
