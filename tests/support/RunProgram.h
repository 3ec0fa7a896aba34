#pragma once

// Runs a program to its end and captures what it printed.
//
//   const hx9test::TProgramRun run = hx9test::RunProgram({hx9test::ProgramDir() + "/hx9ctl",
//   "leds"}); EXPECT_EQ(run.ExitCode, 0) << run.Err;

#include <chrono>
#include <string>
#include <vector>

namespace hx9test
{

struct TProgramRun
{
    bool Started = false;  // false: the program could not be run (Err says why)
    bool TimedOut = false; // killed after the time limit
    int ExitCode = -1;     // exit status, or 128 + signal
    std::string Out;
    std::string Err;
};

/// Runs argv[0] (a path) with argv, stdin from /dev/null, the current environment and no other
/// descriptor of ours; waits for it to end, at most timeout (then it is killed).
TProgramRun RunProgram(const std::vector<std::string>& argv,
                       std::chrono::milliseconds timeout = std::chrono::seconds(20));

} // namespace hx9test
