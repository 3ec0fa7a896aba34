#pragma once

#include <QString>
#include <QStringList>
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
inline constexpr const char* OPTION_JSON = "json";
inline constexpr const char* OPTION_ADDRESS = "address";
inline constexpr const char* OPTION_WATCH = "watch";

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
    const char* Json = nullptr;            // the shape of its --json object, for its help
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

// A synopsis's grammar, for what is made from the usages: words are commands, sub-commands,
// fixed words or placeholders; [] marks what may be left out, '|' separates the forms a
// word may take and "..." lets the last one repeat.

/// The synopsis's words without the brackets ("mem save FILE [ADDRESS LENGTH]": mem, save,
/// FILE, ADDRESS, LENGTH), each a place that may hold several forms.
QStringList SynopsisWords(const QString& synopsis);
/// The forms one word may take, without the "..." of one that repeats ("TEXT..." gives TEXT).
QStringList WordForms(const QString& word);
/// True for a form the user fills in: capitals, digits and '_', parts joined by ':'
/// ("ADDRESS", "HOST:PORT").
bool IsPlaceholder(const QString& form);
/// The word after the command when it names a sub-command ("send" of "uart send TEXT..."),
/// or "".
QString SubCommandOf(const QString& synopsis);
