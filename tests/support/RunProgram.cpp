#include "tests/support/RunProgram.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hx9test
{

TProgramRun RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout)
{
    TProgramRun run;
    if (argv.empty())
    {
        run.Err = "no program given";
        return run;
    }
    std::vector<std::string> args = argv;
    std::vector<char*> cargs;
    for (std::string& a : args)
        cargs.push_back(a.data());
    cargs.push_back(nullptr);

    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
    {
        run.Err = std::string("pipe: ") + std::strerror(errno);
        return run;
    }
    if (::pipe2(err, O_CLOEXEC) != 0)
    {
        ::close(out[0]);
        ::close(out[1]);
        run.Err = std::string("pipe: ") + std::strerror(errno);
        return run;
    }
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0)
            ::dup2(null, STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::close_range(STDERR_FILENO + 1, UINT_MAX, 0);
        ::execv(cargs[0], cargs.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    if (pid < 0)
    {
        ::close(out[0]);
        ::close(err[0]);
        run.Err = std::string("fork: ") + std::strerror(errno);
        return run;
    }
    run.Started = true;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.Out, &run.Err};
    while (fds[0].fd >= 0 || fds[1].fd >= 0)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
        {
            run.TimedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        if (::poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i)
        {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof(buffer));
            if (n > 0)
                sinks[i]->append(buffer, static_cast<size_t>(n));
            else if (n == 0 || errno != EINTR)
            {
                ::close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
    }
    for (const pollfd& p : fds)
        if (p.fd >= 0)
            ::close(p.fd);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

} // namespace hx9test
