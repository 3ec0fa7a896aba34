// The pieces inside the download library: version text and running the programmer.

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include <sys/wait.h>

#include "makerlibs/download/ChildProcess.h"
#include "makerlibs/download/QuartusVersion.h"

namespace
{
TEST(QuartusVersionTest, TakesMajorAndMinorOfTheFirstVersionWord)
{
    EXPECT_DOUBLE_EQ(
        ParseQuartusVersion("Quartus Prime Programmer\nVersion 18.1.0 Build 625 09/12/2018 SJ "
                            "Lite Edition\n"),
        18.1);
    EXPECT_DOUBLE_EQ(ParseQuartusVersion("Version 9.12 Build 1"), 9.12);
    EXPECT_DOUBLE_EQ(ParseQuartusVersion("Version 20\n"), 20.0);
    EXPECT_DOUBLE_EQ(ParseQuartusVersion("Version unknown\nVersion 13.0sp1"), 13.0);
    EXPECT_EQ(ParseQuartusVersion(""), 0.0);
    EXPECT_EQ(ParseQuartusVersion("Quartus Prime Programmer\n"), 0.0);
    EXPECT_EQ(ParseQuartusVersion("Version .5"), 0.0);
    EXPECT_EQ(ParseQuartusVersion("version 18.1"), 0.0);
    EXPECT_EQ(ParseQuartusVersion("Version"), 0.0);
}

TEST(ChildProcessTest, ReportsExitStatusAndOutput)
{
    TChildResult run =
        TChildProcess::Run("/bin/sh", {"-c", "echo one; echo two >&2; exit 4"}, "", 10000);
    EXPECT_TRUE(run.bStarted);
    EXPECT_TRUE(run.bFinished);
    EXPECT_EQ(run.nExitCode, 4);
    EXPECT_EQ(run.sOutput, "one\n");

    run = TChildProcess::Run("/bin/sh", {"-c", "pwd"}, "/tmp", 10000);
    EXPECT_EQ(run.sOutput, "/tmp\n");

    run = TChildProcess::Run("/nonexistent/quartus_pgm", {}, "", 10000);
    EXPECT_FALSE(run.bStarted);
    EXPECT_FALSE(run.bFinished);
}

TEST(ChildProcessTest, AChildPastItsLimitIsKilledAndReaped)
{
    const TChildResult run = TChildProcess::Run("/bin/sleep", {"30"}, "", 0);
    EXPECT_TRUE(run.bStarted);
    EXPECT_FALSE(run.bFinished);
    EXPECT_EQ(run.nExitCode, -1);
    // Nothing of ours is left running or unreaped.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(ChildProcessTest, EndsWithTheChildEvenWhenItsOwnChildKeepsTheOutputOpen)
{
    // Like a programmer that starts the board's server and leaves it running.
    const TChildResult run = TChildProcess::Run("/bin/sh", {"-c", "sleep 30 & echo $!"}, "", 20000);
    ASSERT_TRUE(run.bFinished);
    EXPECT_EQ(run.nExitCode, 0);
    const int orphan = std::stoi(run.sOutput);
    EXPECT_GT(orphan, 0);
    ::kill(orphan, SIGKILL);
}

TEST(ChildProcessTest, AHostThatIgnoresChildrenDoesNotWaitOutTheLimit)
{
    // Children are then reaped by the system: the end is seen, its status is not.
    const auto previous = std::signal(SIGCHLD, SIG_IGN);
    const TChildResult run = TChildProcess::Run("/bin/sh", {"-c", "exit 0"}, "", 20000);
    std::signal(SIGCHLD, previous);
    EXPECT_TRUE(run.bFinished);
    EXPECT_EQ(run.nExitCode, -1);
}

TEST(ChildProcessTest, ExcessOutputIsDroppedWithoutStallingTheChild)
{
    const TChildResult run =
        TChildProcess::Run("/bin/sh", {"-c", "head -c 1000000 /dev/zero; echo end >&2"}, "", 20000);
    EXPECT_TRUE(run.bFinished);
    EXPECT_EQ(run.nExitCode, 0);
    EXPECT_EQ(run.sOutput.size(), TChildProcess::OUTPUT_LIMIT_BYTES);
}
} // namespace
