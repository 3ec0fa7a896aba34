#pragma once

#include <QString>
#include <vector>

class TCliSession;
struct TCliArguments;

// hx9ctl's command line in two tables: the options and the commands. The parser, the option
// checks, the dispatch and every help text read them; a man page can be made from them too.

// One option, as the parser reads it and the help lists it.
struct TCliOption
{
    char Short = 0;              // the letter after '-', or 0 for a long name alone
    const char* Long = nullptr;  // the name after "--"
    const char* Value = nullptr; // the value's name in the help ("NAME"), nullptr for a flag
    bool Global = false;         // goes with every command; otherwise the commands name it
    const char* Help = nullptr;  // what it does; a '\n' continues the text on the next line
};

// Long names of the options, as handlers ask for them.
inline constexpr const char* OPTION_HELP = "help";
inline constexpr const char* OPTION_VERSION = "version";
inline constexpr const char* OPTION_CONFIGURE = "configure";
inline constexpr const char* OPTION_MEMORY = "memory";
inline constexpr const char* OPTION_WAIT = "wait";
inline constexpr const char* OPTION_LIST = "list";

// One way of calling a command: a line of the program's help.
struct TCliUsage
{
    const char* Synopsis; // the command and its arguments ("leds MASK|all|none")
    const char* Summary;  // what it does
};

// A command's arguments: an exact count the dispatch checks, or the handler's own check.
inline constexpr int ARGUMENTS_CHECKED_BY_HANDLER = -1;

using TCliHandler = int (*)(TCliSession& session, const TCliArguments& args);

// One command: what runs it, what it accepts and what its help says.
struct TCliCommand
{
    const char* Name = nullptr;
    TCliHandler Run = nullptr; // returns the exit status
    int Arguments = 0;         // the words after the name, or ARGUMENTS_CHECKED_BY_HANDLER
    std::vector<const char*> Options = {}; // the options it takes beyond the global ones
    std::vector<TCliUsage> Usages = {};    // its lines in the program's help
    const char* Help = nullptr;            // "hx9ctl NAME --help"; nullptr for the program's help
};

/// Every option, in the order of the program's help.
const std::vector<TCliOption>& CliOptions();
/// Every command, in the order of the program's help.
const std::vector<TCliCommand>& CliCommands();
/// The option with that long name, or nullptr.
const TCliOption* FindCliOption(const QString& longName);
/// The option with that letter, or nullptr.
const TCliOption* FindCliOption(QChar letter);
/// The command of that name, or nullptr.
const TCliCommand* FindCliCommand(const QString& name);
/// True when the command takes the option: a global one, or one it names.
bool CommandTakesOption(const TCliCommand& command, const TCliOption& option);
