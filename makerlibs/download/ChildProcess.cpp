#include "makerlibs/download/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
using Clock = std::chrono::steady_clock;

// Without a process descriptor to wait on, the exit is checked this often.
constexpr int EXIT_CHECK_MS = 10;
constexpr size_t READ_CHUNK_BYTES = 4096;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool Spawn(const std::string& program, const std::vector<std::string>& args,
           const std::string& folder, int outputFd, pid_t& pid)
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
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    const int result = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0;
}

// Reads what the pipe holds; false at end of file or error.
bool Collect(int fd, std::string& output)
{
    char chunk[READ_CHUNK_BYTES];
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return true;
    if (n <= 0)
        return false;
    const size_t keep =
        std::min(static_cast<size_t>(n), TChildProcess::OUTPUT_LIMIT_BYTES - output.size());
    output.append(chunk, keep);
    return true;
}

// Takes what the pipe holds right now, without waiting for more.
void DrainNow(int fd, bool& open, std::string& output)
{
    pollfd entry{fd, POLLIN, 0};
    while (open && output.size() < TChildProcess::OUTPUT_LIMIT_BYTES && ::poll(&entry, 1, 0) > 0 &&
           (entry.revents & POLLIN) != 0)
        open = Collect(fd, output);
}

void RecordExit(int status, TChildResult& result)
{
    result.bFinished = true;
    result.nExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits for the child's exit while draining its output. A process it started may hold the
// pipe open after it ends, so the end of the child, not the end of the pipe, ends the wait.
void Supervise(pid_t pid, int outputFd, Clock::time_point deadline, TChildResult& result)
{
    const int exitFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    bool pipeOpen = true;
    for (;;)
    {
        int status = 0;
        const pid_t waited = ::waitpid(pid, &status, WNOHANG);
        if (waited == pid)
        {
            RecordExit(status, result);
            DrainNow(outputFd, pipeOpen, result.sOutput);
            break;
        }
        // A host that ignores SIGCHLD has its children reaped for it: the child has ended, but
        // how is unknown, so it counts as a failure.
        if (waited < 0 && errno == ECHILD)
        {
            result.bFinished = true;
            break;
        }
        const int left = MillisecondsLeft(deadline);
        if (left == 0)
        {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            break;
        }
        pollfd entries[2] = {{pipeOpen ? outputFd : -1, POLLIN, 0}, {exitFd, POLLIN, 0}};
        const int wait = exitFd >= 0 ? left : std::min(left, EXIT_CHECK_MS);
        if (::poll(entries, 2, wait) > 0 && (entries[0].revents & (POLLIN | POLLHUP)) != 0)
            pipeOpen = Collect(outputFd, result.sOutput);
    }
    if (exitFd >= 0)
        ::close(exitFd);
}
} // namespace

TChildResult TChildProcess::Run(const std::string& program, const std::vector<std::string>& args,
                                const std::string& folder, int limitMs)
{
    TChildResult result;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return result;
    // Only our end is non-blocking; the child writes as usual.
    ::fcntl(pipeFds[0], F_SETFL, ::fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(std::max(limitMs, 0));
    pid_t pid = 0;
    result.bStarted = Spawn(program, args, folder, pipeFds[1], pid);
    ::close(pipeFds[1]);
    if (result.bStarted)
        Supervise(pid, pipeFds[0], deadline, result);
    ::close(pipeFds[0]);
    return result;
}
