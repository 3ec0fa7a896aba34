#pragma once

#include <cstdint>
#include <string>

// Where the library reaches a board: the host and TCP port of its JTAG byte channel. The
// virtual board's control port is always the next port up.
class TServerAddress
{
public:
    static constexpr const char* ENVIRONMENT_NAME = "KELVARO_JTAG_SERVER";
    static constexpr const char* DEFAULT_HOST = "127.0.0.1";
    static constexpr uint16_t DEFAULT_PORT = 45480;

    TServerAddress() = default;
    TServerAddress(std::string host, uint16_t port);

    // Parses "host:port" ("[v6]:port" for IPv6); false for anything else, address unchanged.
    static bool Parse(const std::string& text, TServerAddress& address);

    const std::string& Host() const { return m_sHost; }
    uint16_t Port() const { return m_wPort; }
    // The control port; 0 when the JTAG port is the last one and there is none above it.
    uint16_t ControlPort() const;
    // "host:port", as a user would type it.
    std::string Text() const;

private:
    std::string m_sHost = DEFAULT_HOST;
    uint16_t m_wPort = DEFAULT_PORT;
};
