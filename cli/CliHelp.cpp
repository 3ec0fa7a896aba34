#include "cli/CliHelp.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"

namespace
{

const char* const PROGRAM_HEAD = R"(Usage: hx9ctl [OPTION]... COMMAND [ARGUMENT]...
Drive the HX9 board (Velmora Starter Board) over its JTAG link from the command line.
)";

const char* const PROGRAM_TAIL =
    R"(Numbers are hexadecimal with or without a 0x prefix, except MS (decimal
milliseconds). Memory addresses and lengths count 16-bit words, as on the memory
panel. FILE ending in .hex (any case) is HEX text: two digits per byte, lowest
address first; any other file is raw binary.

Every command but connect uses the link as it finds it: it opens it and checks
the board name, and fails when the FPGA does not hold its image unless -c is given.
Results go to standard output, messages to standard error. Transfers show a
progress line when standard error is a terminal; Ctrl-C (or SIGTERM) aborts them.

Exit status:
  0    success
  1    the board answered with a failure (a refused command, a failed loopback)
  2    bad arguments, or a file that cannot be read or written
  3    no link: the board cannot be reached, is not an HX9, or did not answer
  130  a transfer aborted with Ctrl-C (or SIGTERM)
)";

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
    QString help = QString::fromUtf8(PROGRAM_HEAD) + QStringLiteral("\nCommands:\n");
    for (const TCliCommand& command : CliCommands())
    {
        for (const TCliUsage& usage : command.Usages)
            help += HelpLine(QLatin1String(usage.Synopsis), usage.Summary);
    }
    help += QStringLiteral("\nOptions:\n");
    for (const TCliOption& option : CliOptions())
        help += HelpLine(OptionTerm(option), option.Help);
    return help + QLatin1Char('\n') + QString::fromUtf8(PROGRAM_TAIL);
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
