#pragma once

#include <QString>

/// hx9ctl's bash completion: the script template with its lists filled from the command and
/// option tables, so that a command or option added there completes at once. Places:
/// {{COMMANDS}}, {{GLOBAL_OPTIONS}}, {{ALL_OPTIONS}}, {{VALUE_OPTIONS}}, {{COMMAND_OPTIONS}},
/// {{OPTION_VALUES}} and {{ARGUMENTS}}. Returns "" when the template lacks a place, naming it
/// in error.
QString BashCompletion(const QString& scriptTemplate, QString& error);
