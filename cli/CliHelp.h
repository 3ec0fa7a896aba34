#pragma once

#include <QString>

#include <vector>

class TCliSession;
struct TCliArguments;

/// The program's --help text: its command and option lists made from the tables.
QString ProgramHelp();
/// The --help text of one command ("help" gives the program's); empty for an unknown one.
QString CommandHelp(const QString& name);
// The program's help is made of the command and option tables and these texts; the man page
// lays the same out in sections of its own.

/// One line of the exit status list.
struct TExitStatusHelp
{
    int Status;
    const char* Meaning;
};

/// What hx9ctl is for, in a sentence.
const char* ProgramPurpose();
/// How numbers, memory addresses and file types are read.
const char* NumbersNote();
/// How the commands treat the link, and where results and messages go.
const char* LinkNote();
/// What --json gives, with examples (the lines indented by two).
const char* JsonNote();
/// Every exit status and what it means.
const std::vector<TExitStatusHelp>& ExitStatusHelps();

/// "hx9ctl help [COMMAND]" and "hx9ctl [COMMAND] --help": the help on stdout.
int RunHelp(TCliSession& session, const TCliArguments& args);
