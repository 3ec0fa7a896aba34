#include "cli/BoardCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "session/ConnectSequence.h"

int RunConnect(TCliSession& session, const TCliArguments&)
{
    if (!session.OpenBoard(true))
        return EXIT_LINK_FAILURE;
    session.Output().Print({{QStringLiteral("connected"), true}},
                           QString::fromLatin1(TEXT_CONNECTED) + QLatin1Char('\n'));
    return EXIT_OK;
}

int RunName(TCliSession& session, const TCliArguments&)
{
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    QString name;
    if (!session.Board().QueryBoardName(name))
        return session.Fail(QStringLiteral("Failed to query board name."));
    session.Output().Print({{QStringLiteral("name"), name}}, name + QLatin1Char('\n'));
    return EXIT_OK;
}

int RunPing(TCliSession& session, const TCliArguments&)
{
    if (!session.OpenBoard())
        return EXIT_LINK_FAILURE;
    if (!session.Board().Ping())
        return session.Fail(QStringLiteral("ping: the board did not answer with success"));
    session.Output().Print({{QStringLiteral("answered"), true}}, QString());
    return EXIT_OK;
}
