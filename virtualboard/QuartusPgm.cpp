// The virtual Quartus programmer: "quartus_pgm -m jtag -o p;IMAGE" configures the virtual
// board with IMAGE through its control port, starting the board when none answers.

#include "virtualboard/ControlClient.h"
#include "virtualboard/Endpoint.h"
#include "virtualboard/FpgaImage.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <strings.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int EXIT_OK = 0;
constexpr int EXIT_ERROR = 1;
constexpr int EXIT_USAGE = 2;
// Configuring reads and checks the whole image; far longer than it takes.
constexpr int PROGRAM_TIMEOUT_MS = 30000;
constexpr int START_WAIT_MS = 5000;
constexpr int START_POLL_MS = 20;

int Fail(int code, const std::string& reason)
{
    std::fprintf(stderr, "Error: %s\n", reason.c_str());
    return code;
}

std::string Directory(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
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

// <program folder>/quartus/bin/quartus_pgm -> <program folder>/hx9-board-sim
std::string BoardSimPath()
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (n <= 0)
        return "";
    self[n] = '\0';
    return Directory(Directory(Directory(self))) + "/hx9-board-sim";
}

// Runs "hx9-board-sim serve --detach --port P", which returns once the board listens.
bool StartBoard(const vboard::TEndpoint& endpoint, std::string& error)
{
    const std::string sim = BoardSimPath();
    if (sim.empty() || ::access(sim.c_str(), X_OK) != 0)
    {
        error = "no board found, and no virtual board program at '" + sim + "'";
        return false;
    }
    const std::string port = std::to_string(endpoint.JtagPort);
    const pid_t child = ::fork();
    if (child < 0)
    {
        error = std::string("cannot start the virtual board: ") + std::strerror(errno);
        return false;
    }
    if (child == 0)
    {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0)
        {
            ::dup2(null, STDIN_FILENO);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
        }
        ::close_range(STDERR_FILENO + 1, UINT_MAX, 0);
        ::execl(sim.c_str(), sim.c_str(), "serve", "--detach", "--port", port.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR)
    {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    {
        error = "no board found, and the virtual board did not start";
        return false;
    }
    return true;
}

// Only the default, unnamed address may get a virtual board started on the user's behalf; an
// address the user named is used as it is, so a typo never finds a board of our making.
bool ConnectOrStart(const vboard::TEndpoint& endpoint, bool named, vboard::TControlClient& client,
                    std::string& error)
{
    if (client.Connect(endpoint, error))
        return true;
    if (named)
    {
        error = "no board answers at " + endpoint.Host + ":" + std::to_string(endpoint.JtagPort) +
                " (" + vboard::JTAG_SERVER_VARIABLE + "): " + error;
        return false;
    }
    if (!StartBoard(endpoint, error))
        return false;
    // "serve --detach" returns once the board listens; a second board that lost the race
    // for the port backs off, so retry briefly while the winner comes up.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(START_WAIT_MS);
    while (!client.Connect(endpoint, error))
    {
        if (std::chrono::steady_clock::now() >= deadline)
        {
            error = "no board found: " + error;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(START_POLL_MS));
    }
    return true;
}

struct TArguments
{
    bool Version = false;
    bool Help = false;
    std::string Cable;
    std::string Mode;
    std::string Operation;
};

bool TakeOption(const std::vector<std::string>& args, size_t& i, const char* shortName,
                const char* longName, std::string& value)
{
    const std::string& arg = args[i];
    const std::string longPrefix = std::string(longName) + "=";
    if ((arg == shortName || arg == longName) && i + 1 < args.size())
    {
        value = args[++i];
        return true;
    }
    if (arg.rfind(longPrefix, 0) == 0)
    {
        value = arg.substr(longPrefix.size());
        return true;
    }
    return false;
}

bool ParseArguments(const std::vector<std::string>& args, TArguments& out, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        if (arg == "--version" || arg == "-v")
            out.Version = true;
        else if (arg == "--help" || arg == "-h")
            out.Help = true;
        else if (!TakeOption(args, i, "-c", "--cable", out.Cable) &&
                 !TakeOption(args, i, "-m", "--mode", out.Mode) &&
                 !TakeOption(args, i, "-o", "--operation", out.Operation))
        {
            error = "unknown argument '" + arg + "'";
            return false;
        }
    }
    return true;
}

// "p;IMAGE" or "p;IMAGE@1": program the first device of the chain with IMAGE.
bool ParseOperation(const std::string& operation, std::string& image, std::string& error)
{
    const size_t semicolon = operation.find(';');
    if (semicolon == std::string::npos ||
        strcasecmp(operation.substr(0, semicolon).c_str(), "p") != 0)
    {
        error = "operation '" + operation + "' not supported (only p;IMAGE)";
        return false;
    }
    image = operation.substr(semicolon + 1);
    const size_t at = image.rfind('@');
    if (at != std::string::npos && image.find('/', at) == std::string::npos)
    {
        if (image.substr(at + 1) != "1")
        {
            error = "device " + image.substr(at + 1) + " not in the JTAG chain (only device 1)";
            return false;
        }
        image.erase(at);
    }
    if (image.empty())
    {
        error = "operation '" + operation + "' names no image";
        return false;
    }
    return true;
}

const char* const USAGE = "usage: quartus_pgm [-c CABLE] -m jtag -o \"p;IMAGE\"\n"
                          "       quartus_pgm --version\n";

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    TArguments parsed;
    std::string error;
    if (!ParseArguments(args, parsed, error))
        return Fail(EXIT_USAGE, error);
    if (parsed.Version)
    {
        std::printf("Quartus Prime Programmer\n"
                    "Version 18.1.0 Build 625 09/12/2018 SJ Lite Edition\n");
        return EXIT_OK;
    }
    if (parsed.Help || args.empty())
    {
        std::fputs(USAGE, parsed.Help ? stdout : stderr);
        return parsed.Help ? EXIT_OK : EXIT_USAGE;
    }
    if (strcasecmp(parsed.Mode.c_str(), "jtag") != 0)
        return Fail(EXIT_USAGE, parsed.Mode.empty()
                                    ? "no mode given (-m jtag)"
                                    : "mode '" + parsed.Mode + "' not supported (only jtag)");
    std::string image;
    if (!ParseOperation(parsed.Operation, image, error))
        return Fail(EXIT_USAGE, error);
    image = Absolute(image);
    if (!vboard::LoadHx9Image(image, error))
        return Fail(EXIT_ERROR, error);

    vboard::TEndpoint endpoint;
    if (!vboard::EndpointFromEnvironment(endpoint, error))
        return Fail(EXIT_ERROR, error);
    const char* named = std::getenv(vboard::JTAG_SERVER_VARIABLE);
    vboard::TControlClient client;
    if (!ConnectOrStart(endpoint, named != nullptr && *named != '\0', client, error))
        return Fail(EXIT_ERROR, error);
    std::string reply;
    if (!client.Exchange("program " + image, reply, error, PROGRAM_TIMEOUT_MS))
        return Fail(EXIT_ERROR, "no board found: " + error);
    if (reply.rfind("ok", 0) != 0)
        return Fail(EXIT_ERROR, reply.rfind("error ", 0) == 0 ? reply.substr(6) : reply);
    std::printf("Info: Configuring device 1 with %s\n"
                "Info: Configuration succeeded -- 1 device(s) configured\n",
                image.c_str());
    return EXIT_OK;
}
