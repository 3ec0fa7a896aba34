#include "tests/support/VirtualBoardProcess.h"

#include "virtualboard/ControlClient.h"
#include "virtualboard/Endpoint.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifndef HX9_PROGRAM_DIR
#error "HX9_PROGRAM_DIR must name the program folder"
#endif

namespace hx9test
{

namespace
{

constexpr int PORT_LINE_TIMEOUT_MS = 10000;
constexpr auto STOP_GRACE = std::chrono::milliseconds(3000);
constexpr auto REAP_POLL = std::chrono::milliseconds(5);

// Reads the daemon's "port P" line.
bool ReadPortLine(int fd, uint16_t& port, std::string& error)
{
    std::string line;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(PORT_LINE_TIMEOUT_MS);
    while (line.find('\n') == std::string::npos)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
        {
            error = "hx9-board-sim printed no port within 10 s";
            return false;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        char buffer[128];
        const ssize_t n = ready > 0 ? ::read(fd, buffer, sizeof(buffer)) : 0;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            error = "hx9-board-sim ended before it printed its port";
            return false;
        }
        line.append(buffer, static_cast<size_t>(n));
    }
    unsigned value = 0;
    if (std::sscanf(line.c_str(), "port %u", &value) != 1 || value == 0 || value >= UINT16_MAX)
    {
        error = "unexpected first line from hx9-board-sim: " + line.substr(0, line.find('\n'));
        return false;
    }
    port = static_cast<uint16_t>(value);
    return true;
}

} // namespace

std::string ProgramDir()
{
    return HX9_PROGRAM_DIR;
}

std::string ImagePath()
{
    return ProgramDir() + "/HX9_ControlPanel.sof";
}

std::string QuartusRoot()
{
    return ProgramDir() + "/quartus";
}

TVirtualBoardProcess::TVirtualBoardProcess() : TVirtualBoardProcess(TOptions{}) {}

TVirtualBoardProcess::TVirtualBoardProcess(TOptions options) : m_Options(std::move(options)) {}

TVirtualBoardProcess::~TVirtualBoardProcess()
{
    Stop();
    RestoreEnvironment();
}

bool TVirtualBoardProcess::Fail(const std::string& error)
{
    m_LastError = error;
    return false;
}

std::string TVirtualBoardProcess::Address() const
{
    return std::string(vboard::DEFAULT_JTAG_HOST) + ":" + std::to_string(m_JtagPort);
}

bool TVirtualBoardProcess::Start()
{
    if (IsRunning())
        return Fail("already started");
    const std::string sim = ProgramDir() + "/hx9-board-sim";
    if (::access(sim.c_str(), X_OK) != 0)
        return Fail("cannot run '" + sim + "': " + std::strerror(errno));
    std::vector<std::string> args{sim, "serve", "--port", "0"};
    if (m_Options.Stay)
        args.push_back("--stay");
    if (m_Options.Programmed)
        args.push_back("--programmed");
    args.insert(args.end(), m_Options.ExtraArgs.begin(), m_Options.ExtraArgs.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return Fail(std::string("pipe: ") + std::strerror(errno));
    const pid_t pid = ::fork();
    if (pid < 0)
    {
        ::close(out[0]);
        ::close(out[1]);
        return Fail(std::string("fork: ") + std::strerror(errno));
    }
    if (pid == 0)
    {
        // The daemon keeps only its standard streams: stdout is the port pipe, stderr the test's.
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0)
            ::dup2(null, STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::close_range(STDERR_FILENO + 1, UINT_MAX, 0);
        ::execv(sim.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    m_Pid = pid;
    std::string error;
    const bool ok = ReadPortLine(out[0], m_JtagPort, error);
    ::close(out[0]);
    if (!ok)
    {
        Stop();
        return Fail(error);
    }
    if (m_Options.SetEnvironment)
    {
        if (!m_bEnvironmentSet)
        {
            const char* old = std::getenv(vboard::JTAG_SERVER_VARIABLE);
            m_SavedEnvironment = old ? std::optional<std::string>(old) : std::nullopt;
            m_bEnvironmentSet = true;
        }
        ::setenv(vboard::JTAG_SERVER_VARIABLE, Address().c_str(), 1);
    }
    return true;
}

bool TVirtualBoardProcess::WaitForExit(std::chrono::milliseconds timeout, int* exitCode)
{
    if (!IsRunning())
        return Fail("not running");
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;)
    {
        int status = 0;
        const pid_t done = ::waitpid(m_Pid, &status, WNOHANG);
        if (done == m_Pid)
        {
            m_Pid = -1;
            if (exitCode != nullptr)
                *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        }
        if (done < 0 && errno != EINTR)
        {
            m_Pid = -1;
            return Fail(std::string("waitpid: ") + std::strerror(errno));
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return Fail("hx9-board-sim still running");
        std::this_thread::sleep_for(REAP_POLL);
    }
}

bool TVirtualBoardProcess::Stop()
{
    if (!IsRunning())
        return false;
    ::kill(m_Pid, SIGTERM);
    if (!WaitForExit(STOP_GRACE))
    {
        ::kill(m_Pid, SIGKILL);
        while (::waitpid(m_Pid, nullptr, 0) < 0 && errno == EINTR)
        {
        }
        m_Pid = -1;
    }
    return true;
}

void TVirtualBoardProcess::RestoreEnvironment()
{
    if (!m_bEnvironmentSet)
        return;
    if (m_SavedEnvironment)
        ::setenv(vboard::JTAG_SERVER_VARIABLE, m_SavedEnvironment->c_str(), 1);
    else
        ::unsetenv(vboard::JTAG_SERVER_VARIABLE);
    m_bEnvironmentSet = false;
}

std::string TVirtualBoardProcess::Control(const std::string& line)
{
    if (!IsRunning())
        return "error the virtual board is not running";
    vboard::TEndpoint endpoint;
    endpoint.JtagPort = m_JtagPort;
    std::string reply;
    std::string error;
    if (!vboard::ControlRequest(endpoint, line, reply, error))
        return "error " + error;
    return reply;
}

bool TVirtualBoardProcess::Command(const std::string& line, std::string* value)
{
    const std::string reply = Control(line);
    if (reply != "ok" && reply.rfind("ok ", 0) != 0)
        return Fail(reply);
    if (value != nullptr)
        *value = reply.size() > 3 ? reply.substr(3) : "";
    return true;
}

bool TVirtualBoardProcess::Program()
{
    return Program(ImagePath());
}

bool TVirtualBoardProcess::Program(const std::string& imagePath)
{
    return Command("program " + imagePath);
}

bool TVirtualBoardProcess::PowerCycle()
{
    return Command("power-cycle");
}

bool TVirtualBoardProcess::InjectFault(const std::string& fault)
{
    return Command("fault " + fault);
}

bool TVirtualBoardProcess::ClearFaults()
{
    return Command("fault clear");
}

bool TVirtualBoardProcess::SetKeys(uint32_t mask)
{
    return Command("keys " + std::to_string(mask));
}

bool TVirtualBoardProcess::SetSwitches(uint32_t mask)
{
    return Command("switches " + std::to_string(mask));
}

std::optional<uint32_t> TVirtualBoardProcess::Leds()
{
    std::string value;
    if (!Command("leds", &value))
        return std::nullopt;
    char* end = nullptr;
    const unsigned long leds = std::strtoul(value.c_str(), &end, 16);
    if (value.empty() || *end != '\0')
    {
        m_LastError = "unexpected leds reply: " + value;
        return std::nullopt;
    }
    return static_cast<uint32_t>(leds);
}

} // namespace hx9test
