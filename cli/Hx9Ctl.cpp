#include "cli/Hx9Ctl.h"

#include "cli/CliArguments.h"
#include "cli/CliHelp.h"
#include "cli/CliSession.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"

namespace
{

// A usage error unless the command's words are as many as its table entry says.
int CheckWordCount(TCliSession& session, const TCliCommand& command, const QStringList& words)
{
    const qsizetype count = command.Arguments;
    if (count == ARGUMENTS_CHECKED_BY_HANDLER || words.size() == count)
        return EXIT_OK;
    const QString name = QLatin1String(command.Name);
    return session.UsageError(
        words.size() < count
            ? QStringLiteral("%1: missing argument").arg(name)
            : QStringLiteral("%1: unexpected argument '%2'").arg(name, words[count]));
}

// A usage error for the first option given that the command does not take.
int CheckOptions(TCliSession& session, const TCliCommand& command, const TCliArguments& args)
{
    for (const QString& name : args.Options)
    {
        if (!CommandTakesOption(command, *FindCliOption(name)))
            return session.UsageError(QStringLiteral("option '--%1' does not go with '%2'")
                                          .arg(name, QLatin1String(command.Name)));
    }
    return EXIT_OK;
}

} // namespace

int THx9Ctl::Run(const QStringList& arguments)
{
    const TCliArguments args = ParseCliArguments(arguments);
    TCliSession session(args.Has(OPTION_CONFIGURE));
    if (!args.Error.isEmpty())
        return session.UsageError(args.Error);
    if (args.Has(OPTION_VERSION))
    {
        session.Console().Out(QStringLiteral("hx9ctl " HX9_VERSION));
        return EXIT_OK;
    }
    if (args.Command.isEmpty())
    {
        if (args.Has(OPTION_HELP))
            return RunHelp(session, args);
        return session.UsageError(QStringLiteral("missing command"));
    }
    const TCliCommand* command = FindCliCommand(args.Command);
    if (!command)
        return session.UsageError(QStringLiteral("unknown command '%1'").arg(args.Command));
    // Help comes before every check: "hx9ctl mem --list --help" still shows mem's help.
    if (args.Has(OPTION_HELP) || command->Run == RunHelp)
        return RunHelp(session, args);
    int status = CheckOptions(session, *command, args);
    if (status == EXIT_OK)
        status = CheckWordCount(session, *command, args.Words);
    if (status == EXIT_OK)
        status = command->Run(session, args);
    return status;
}
