#include "cli/CommandTable.h"
#include "cli/CliHelp.h"

#include <QSet>
#include <gtest/gtest.h>

// The tables feed the parser, the checks, the dispatch and every help text: a row that is
// incomplete or names what does not exist breaks them all, so each row is checked here.
TEST(CommandTable, EveryCommandRunsHasHelpAndNamesOnlyItsOwnOptions)
{
    QSet<QString> names;
    const QString programHelp = ProgramHelp();
    for (const TCliCommand& command : CliCommands())
    {
        const QString name = QLatin1String(command.Name);
        EXPECT_FALSE(names.contains(name)) << command.Name << " twice";
        names << name;
        EXPECT_NE(command.Run, nullptr) << command.Name;
        ASSERT_FALSE(command.Usages.empty()) << command.Name;
        for (const TCliUsage& usage : command.Usages)
        {
            EXPECT_TRUE(QLatin1String(usage.Synopsis).startsWith(name)) << usage.Synopsis;
            const QString firstLine = QString::fromUtf8(usage.Summary).section('\n', 0, 0);
            EXPECT_TRUE(programHelp.contains(firstLine)) << usage.Synopsis;
        }
        EXPECT_TRUE(CommandHelp(name).startsWith(QStringLiteral("Usage: hx9ctl"))) << command.Name;
        for (const char* option : command.Options)
        {
            const TCliOption* found = FindCliOption(QLatin1String(option));
            ASSERT_NE(found, nullptr) << command.Name << " names --" << option;
            EXPECT_FALSE(found->Global) << "--" << option << " goes with every command already";
        }
    }
}

TEST(CommandTable, OptionsAreFoundByEitherNameAndListedInTheHelp)
{
    QSet<QString> longs;
    QSet<QChar> letters;
    for (const TCliOption& option : CliOptions())
    {
        const QString name = QLatin1String(option.Long);
        EXPECT_FALSE(longs.contains(name)) << option.Long << " twice";
        longs << name;
        EXPECT_EQ(FindCliOption(name), &option);
        if (option.Short)
        {
            const QChar letter = QLatin1Char(option.Short);
            EXPECT_FALSE(letters.contains(letter)) << option.Short << " twice";
            letters << letter;
            EXPECT_EQ(FindCliOption(letter), &option);
        }
        EXPECT_TRUE(ProgramHelp().contains(QStringLiteral("--") + name)) << option.Long;
    }
}
