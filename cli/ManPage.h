#pragma once

#include <QString>

/// hx9ctl(1) in roff: the page template with its places filled from the command and option
/// tables and the help texts that --help shows, so that the two cannot drift apart.
/// Places: {{DESCRIPTION}}, {{COMMANDS}}, {{OPTIONS}} and {{NOTES}} (numbers and units, exit
/// status). Returns "" when the template lacks a place, naming it in error.
QString ManPage(const QString& pageTemplate, QString& error);
