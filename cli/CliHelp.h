#pragma once

#include <QString>

class TCliSession;
struct TCliArguments;

/// The program's --help text: its command and option lists made from the tables.
QString ProgramHelp();
/// The --help text of one command ("help" gives the program's); empty for an unknown one.
QString CommandHelp(const QString& name);
/// "hx9ctl help [COMMAND]" and "hx9ctl [COMMAND] --help": the help on stdout.
int RunHelp(TCliSession& session, const TCliArguments& args);
