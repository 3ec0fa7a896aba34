#pragma once

#include <cstdint>
#include <string>

namespace vboard
{

constexpr const char* JTAG_SERVER_VARIABLE = "KELVARO_JTAG_SERVER";
constexpr const char* DEFAULT_JTAG_HOST = "127.0.0.1";
constexpr uint16_t DEFAULT_JTAG_PORT = 45480;

// Where the virtual board listens: the JTAG port, and the control port right above it.
struct TEndpoint
{
    std::string Host = DEFAULT_JTAG_HOST; // dotted IPv4 loopback address
    uint16_t JtagPort = DEFAULT_JTAG_PORT;

    uint16_t ControlPort() const { return static_cast<uint16_t>(JtagPort + 1); }
};

/// Parses "host:port" (host a 127.x.x.x address or "localhost"; port 1..65534).
bool ParseEndpoint(const std::string& text, TEndpoint& endpoint, std::string& error);

/// The endpoint named by KELVARO_JTAG_SERVER, or the default when it is unset or empty.
bool EndpointFromEnvironment(TEndpoint& endpoint, std::string& error);

/// Parses a port given on the command line (1..65534, so the control port fits above it).
bool ParsePort(const std::string& text, uint16_t& port, std::string& error);

} // namespace vboard
