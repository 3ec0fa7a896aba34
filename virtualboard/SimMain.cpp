// hx9-board-sim: the virtual board daemon ("serve") and its command-line client (every
// other subcommand is sent as one line to the control port).

#include "virtualboard/BoardServer.h"
#include "virtualboard/ControlClient.h"
#include "virtualboard/Endpoint.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int EXIT_REFUSED = 1; // the board answered "error ..."
constexpr int EXIT_USAGE = 2;   // bad command line, or no board to talk to
constexpr double MAX_IDLE_SECONDS = 1e7;

const char* const USAGE =
    "usage: hx9-board-sim serve [--port P] [--stay] [--idle-timeout S] [--detach] [--programmed]\n"
    "       hx9-board-sim [--port P] COMMAND [ARGS...]\n"
    "       hx9-board-sim --help | --version\n"
    "\n"
    "COMMAND is a line of the control interface, e.g. program FILE, power-cycle, status,\n"
    "keys 0x3, leds, uart sent, fault checksum 2, shutdown (man hx9-board-sim lists all).\n"
    "The JTAG port comes from KELVARO_JTAG_SERVER (host:port, default 127.0.0.1:45480);\n"
    "the control port is the JTAG port + 1.\n";

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "hx9-board-sim: %s\n%s", message.c_str(), USAGE);
    return EXIT_USAGE;
}

bool ParseSeconds(const std::string& text, uint64_t& ms)
{
    char* end = nullptr;
    errno = 0;
    const double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !(seconds > 0) || seconds > MAX_IDLE_SECONDS)
        return false;
    ms = std::max<uint64_t>(1, static_cast<uint64_t>(seconds * 1000.0));
    return true;
}

// A detached daemon keeps only its sockets: every inherited descriptor is closed and the
// standard streams go to /dev/null, so no caller waits on a pipe it holds.
void DetachDescriptors(std::vector<int> keep)
{
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0)
    {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        if (null > STDERR_FILENO)
            ::close(null);
    }
    std::sort(keep.begin(), keep.end());
    unsigned from = STDERR_FILENO + 1;
    for (int fd : keep)
    {
        const unsigned k = static_cast<unsigned>(fd);
        if (k < from)
            continue;
        if (k > from)
            ::close_range(from, k - 1, 0);
        from = k + 1;
    }
    ::close_range(from, UINT_MAX, 0);
}

// Double fork: the caller gets its exit status at once, the daemon has no terminal and is
// nobody's child but init's. Returns true in the daemon, false in the caller.
bool Daemonize(const std::vector<int>& keep)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
    {
        std::perror("hx9-board-sim: fork");
        std::exit(EXIT_FAILURE);
    }
    if (child > 0)
    {
        int status = 0;
        ::waitpid(child, &status, 0);
        return false;
    }
    ::setsid();
    const pid_t daemon = ::fork();
    if (daemon != 0)
        ::_exit(daemon < 0 ? EXIT_FAILURE : EXIT_SUCCESS);
    if (::chdir("/") != 0)
        ::_exit(EXIT_FAILURE);
    DetachDescriptors(keep);
    return true;
}

int Serve(const std::vector<std::string>& args)
{
    vboard::TServeOptions options;
    std::string error;
    if (!vboard::EndpointFromEnvironment(options.Endpoint, error))
        return UsageError(error);
    bool detach = false;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--port" && hasValue)
        {
            if (!vboard::ParsePort(args[++i], options.Endpoint.JtagPort, error))
                return UsageError(error);
        }
        else if (arg == "--idle-timeout" && hasValue)
        {
            if (!ParseSeconds(args[++i], options.IdleTimeoutMs))
                return UsageError("bad idle timeout '" + args[i] + "' (seconds, above 0)");
        }
        else if (arg == "--stay")
            options.Stay = true;
        else if (arg == "--detach")
            detach = true;
        else if (arg == "--programmed")
            options.Programmed = true;
        else
            return UsageError("unknown serve option '" + arg + "'");
    }
    vboard::TBoardServer server(options);
    switch (server.Open(error))
    {
    case vboard::TOpenResult::Busy:
        return EXIT_SUCCESS; // that port is served already
    case vboard::TOpenResult::Failed:
        std::fprintf(stderr, "hx9-board-sim: %s\n", error.c_str());
        return EXIT_FAILURE;
    case vboard::TOpenResult::Listening:
        break;
    }
    if (detach && !Daemonize(server.Descriptors()))
    {
        std::printf("port %u\n", server.JtagPort());
        return EXIT_SUCCESS;
    }
    if (!detach)
    {
        std::printf("port %u\n", server.JtagPort());
        std::fflush(stdout);
    }
    return server.Run();
}

std::string Absolute(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof(cwd)) == nullptr)
        return path;
    return std::string(cwd) + "/" + path;
}

int Client(const std::vector<std::string>& args)
{
    vboard::TEndpoint endpoint;
    std::string error;
    if (!vboard::EndpointFromEnvironment(endpoint, error))
        return UsageError(error);
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i)
    {
        if (args[i] == "--port" && i + 1 < args.size())
        {
            if (!vboard::ParsePort(args[++i], endpoint.JtagPort, error) || endpoint.JtagPort == 0)
                return UsageError(error.empty() ? "port 0 names no board" : error);
        }
        else
            words.push_back(args[i]);
    }
    if (words.empty())
        return UsageError("no command");
    if (words[0] == "program" && words.size() == 2)
        words[1] = Absolute(words[1]);
    std::string line;
    for (const std::string& w : words)
        line += (line.empty() ? "" : " ") + w;
    std::string reply;
    if (!vboard::ControlRequest(endpoint, line, reply, error))
    {
        std::fprintf(stderr, "hx9-board-sim: %s\n", error.c_str());
        return EXIT_USAGE;
    }
    if (reply.rfind("ok", 0) == 0)
    {
        if (reply.size() > 3)
            std::printf("%s\n", reply.c_str() + 3);
        return EXIT_SUCCESS;
    }
    const std::string reason = reply.rfind("error ", 0) == 0 ? reply.substr(6) : reply;
    std::fprintf(stderr, "hx9-board-sim: %s\n", reason.c_str());
    return EXIT_REFUSED;
}

} // namespace

int main(int argc, char** argv)
{
    ::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help")
    {
        std::fputs(USAGE, args.empty() ? stderr : stdout);
        return args.empty() ? EXIT_USAGE : EXIT_SUCCESS;
    }
    if (args[0] == "--version" || args[0] == "-V")
    {
        std::printf("hx9-board-sim %s\n", HX9_VERSION);
        return EXIT_SUCCESS;
    }
    if (args[0] == "serve")
        return Serve(std::vector<std::string>(args.begin() + 1, args.end()));
    return Client(args);
}
