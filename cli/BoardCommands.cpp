#include "cli/BoardCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"

int RunConnect(TCliSession& session, const TCliArguments&)
{
    if (!session.OpenBoard(true))
        return EXIT_LINK_FAILURE;
    session.Console().Out(QStringLiteral("Connected"));
    return EXIT_OK;
}

int RunName(TCliSession& session, const TCliArguments&)
{
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    QString name;
    if (!session.Board().QueryBoardName(name))
        return session.Fail(QStringLiteral("Failed to query board name."));
    session.Console().Out(name);
    return EXIT_OK;
}

int RunPing(TCliSession& session, const TCliArguments&)
{
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    if (!session.Board().Ping())
        return session.Fail(QStringLiteral("ping: the board did not answer with success"));
    return EXIT_OK;
}
