#include "cli/CliHelp.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"

namespace
{

const char* const PROGRAM_USAGE = "Usage: hx9ctl [OPTION]... COMMAND [ARGUMENT]...";
const char* const PROGRAM_PURPOSE =
    "Drive the HX9 board (Velmora Starter Board) over its JTAG link from the command line.";

const char* const NUMBERS_NOTE =
    R"(Numbers are hexadecimal with or without a 0x prefix, except MS (decimal
milliseconds). Memory addresses and lengths count 16-bit words, as on the memory
panel. FILE ending in .hex (any case) is HEX text: two digits per byte, lowest
address first; any other file is raw binary.
)";

const char* const LINK_NOTE =
    R"(Every command but connect uses the link as it finds it: it opens it and checks
the board name, and fails when the FPGA does not hold its image unless -c is given.
Results go to standard output, messages to standard error. Transfers show a
progress line when standard error is a terminal; Ctrl-C (or SIGTERM) aborts them.
)";

const std::vector<TExitStatusHelp> EXIT_STATUS_HELPS = {
    {EXIT_OK, "success"},
    {EXIT_BOARD_FAILURE,
     "the board answered with a failure (a refused command, a failed loopback)"},
    {EXIT_BAD_ARGUMENTS, "bad arguments, or a file that cannot be read or written"},
    {EXIT_LINK_FAILURE, "no link: the board cannot be reached, is not an HX9, or did not answer"},
    {EXIT_ABORTED, "a transfer aborted with Ctrl-C (or SIGTERM)"},
};

// Exit status lines: the status indented by two, its meaning from column 7.
constexpr qsizetype STATUS_COLUMN = 7;

// Help lines: the term indented by two, its text from column 24, or on the next line when
// the term leaves less than two blanks; a text's further lines start at column 24 too.
constexpr qsizetype HELP_INDENT = 2;
constexpr qsizetype HELP_COLUMN = 24;
constexpr qsizetype HELP_GAP = 2;

QString HelpLine(const QString& term, const char* text)
{
    QString line = QString(HELP_INDENT, QLatin1Char(' ')) + term;
    const QString margin(HELP_COLUMN, QLatin1Char(' '));
    if (line.size() + HELP_GAP <= HELP_COLUMN)
        line = line.leftJustified(HELP_COLUMN);
    else
        line += QLatin1Char('\n') + margin;
    line += QString::fromUtf8(text).replace(QLatin1Char('\n'), QLatin1Char('\n') + margin);
    return line + QLatin1Char('\n');
}

// "-m, --memory NAME", or "    --name" without a letter.
QString OptionTerm(const TCliOption& option)
{
    QString term = option.Short ? QStringLiteral("-%1, ").arg(QLatin1Char(option.Short))
                                : QStringLiteral("    ");
    term += QStringLiteral("--") + QLatin1String(option.Long);
    if (option.Value)
        term += QLatin1Char(' ') + QLatin1String(option.Value);
    return term;
}

} // namespace

QString ProgramHelp()
{
    QString help = QString::fromUtf8(PROGRAM_USAGE) + QLatin1Char('\n') +
                   QString::fromUtf8(PROGRAM_PURPOSE) + QStringLiteral("\n\nCommands:\n");
    for (const TCliCommand& command : CliCommands())
    {
        for (const TCliUsage& usage : command.Usages)
            help += HelpLine(QLatin1String(usage.Synopsis), usage.Summary);
    }
    help += QStringLiteral("\nOptions:\n");
    for (const TCliOption& option : CliOptions())
        help += HelpLine(OptionTerm(option), option.Help);
    help += QLatin1Char('\n') + QString::fromUtf8(NUMBERS_NOTE) + QLatin1Char('\n') +
            QString::fromUtf8(LINK_NOTE) + QStringLiteral("\nExit status:\n");
    for (const TExitStatusHelp& line : EXIT_STATUS_HELPS)
    {
        const QString status = QStringLiteral("  %1").arg(line.Status);
        help +=
            status.leftJustified(STATUS_COLUMN) + QLatin1String(line.Meaning) + QLatin1Char('\n');
    }
    return help;
}

const char* ProgramPurpose()
{
    return PROGRAM_PURPOSE;
}

const char* NumbersNote()
{
    return NUMBERS_NOTE;
}

const char* LinkNote()
{
    return LINK_NOTE;
}

const std::vector<TExitStatusHelp>& ExitStatusHelps()
{
    return EXIT_STATUS_HELPS;
}

QString CommandHelp(const QString& name)
{
    const TCliCommand* command = FindCliCommand(name);
    if (!command)
        return {};
    return command->Help ? QString::fromUtf8(command->Help) : ProgramHelp();
}

int RunHelp(TCliSession& session, const TCliArguments& args)
{
    const bool asked = args.Command == QLatin1String("help");
    QString topic = asked ? args.Words.value(0) : args.Command;
    if (topic.isEmpty())
        topic = QStringLiteral("help");
    const QString help = CommandHelp(topic);
    if (help.isEmpty())
    {
        session.Console().Error(QStringLiteral("unknown command '%1'").arg(topic));
        return EXIT_BAD_ARGUMENTS;
    }
    session.Console().OutRaw(help.toLocal8Bit());
    return EXIT_OK;
}
