#include "makerlibs/jtag/BoardSimLauncher.h"

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "makerlibs/jtag/TcpLink.h"

extern char** environ;

namespace
{
using Clock = std::chrono::steady_clock;

// The daemon detaches itself, but it starts with nothing of ours open on its standard streams.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& args, pid_t& pid)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return false;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int result = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0;
}
} // namespace

bool TBoardSimLauncher::Start(const std::string& folder, const TServerAddress& address)
{
    const std::string program = folder + "/" + PROGRAM_NAME;
    if (address.ControlPort() == 0 || ::access(program.c_str(), X_OK) != 0)
        return false;
    pid_t pid = 0;
    if (!SpawnDetached(program, {"serve", "--detach", "--port", std::to_string(address.Port())},
                       pid))
        return false;

    // With --detach the started process exits once its child listens; reap it so no zombie stays.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(START_LIMIT_MS);
    bool reaped = false;
    bool answers = false;
    while (Clock::now() < deadline && !(reaped && answers))
    {
        int status = 0;
        const pid_t waited = reaped ? 0 : ::waitpid(pid, &status, WNOHANG);
        if (waited == pid)
        {
            reaped = true;
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                return false;
        }
        // A host that ignores SIGCHLD has its children reaped for it; the control port decides.
        reaped = reaped || (waited < 0 && errno == ECHILD);
        answers =
            answers || TTcpLink::Answers(address.Host(), address.ControlPort(), PROBE_LIMIT_MS);
        if (!(reaped && answers))
            std::this_thread::sleep_for(std::chrono::milliseconds(PROBE_INTERVAL_MS));
    }
    if (!reaped && !answers)
    {
        // Neither detached nor listening: stop it rather than leave a stray process behind.
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    return answers;
}
