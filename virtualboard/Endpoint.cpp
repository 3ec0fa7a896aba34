#include "virtualboard/Endpoint.h"

#include <arpa/inet.h>
#include <cstdlib>

namespace vboard
{

namespace
{
constexpr unsigned long MAX_JTAG_PORT = 65534; // leaves room for the control port
} // namespace

bool ParsePort(const std::string& text, uint16_t& port, std::string& error)
{
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoul(text) > MAX_JTAG_PORT)
    {
        error = "bad port '" + text + "' (expected 0.." + std::to_string(MAX_JTAG_PORT) + ")";
        return false;
    }
    port = static_cast<uint16_t>(std::stoul(text));
    return true;
}

bool ParseEndpoint(const std::string& text, TEndpoint& endpoint, std::string& error)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos)
    {
        error = "bad address '" + text + "' (expected host:port)";
        return false;
    }
    std::string host = text.substr(0, colon);
    if (host == "localhost")
        host = DEFAULT_JTAG_HOST;
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) != 1 || (ntohl(address.s_addr) >> 24) != 127)
    {
        error =
            "bad address '" + text + "': the virtual board listens on loopback (127.x.x.x) only";
        return false;
    }
    uint16_t port = 0;
    if (!ParsePort(text.substr(colon + 1), port, error) || port == 0)
    {
        error = "bad address '" + text + "': port must be 1.." + std::to_string(MAX_JTAG_PORT);
        return false;
    }
    endpoint.Host = host;
    endpoint.JtagPort = port;
    return true;
}

bool EndpointFromEnvironment(TEndpoint& endpoint, std::string& error)
{
    const char* value = std::getenv(JTAG_SERVER_VARIABLE);
    endpoint = TEndpoint{};
    if (value == nullptr || *value == '\0')
        return true;
    if (!ParseEndpoint(value, endpoint, error))
    {
        error = std::string(JTAG_SERVER_VARIABLE) + ": " + error;
        return false;
    }
    return true;
}

} // namespace vboard
