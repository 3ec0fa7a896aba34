#pragma once

#include <string>
#include <vector>

// How a child program ran.
struct TChildResult
{
    bool bStarted = false;  // the program could be started at all
    bool bFinished = false; // it ended by itself within the time limit
    int nExitCode = -1;     // its exit status when it ended normally, else -1
    std::string sOutput;    // what it wrote on standard output (capped)
};

// Runs one program without a shell and waits for it with a time limit.
class TChildProcess
{
public:
    // Standard output kept; more is read and dropped so the child never blocks on a full pipe.
    static constexpr size_t OUTPUT_LIMIT_BYTES = 64 * 1024;

    // Runs program with args in folder (empty = ours); standard input is empty, standard error
    // is ours. A child still running after limitMs is killed and reported as not finished.
    static TChildResult Run(const std::string& program, const std::vector<std::string>& args,
                            const std::string& folder, int limitMs);
};
