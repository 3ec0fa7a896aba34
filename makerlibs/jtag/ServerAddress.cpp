#include "makerlibs/jtag/ServerAddress.h"

#include <utility>

namespace
{
constexpr size_t MAX_HOST_LENGTH = 253; // longest DNS name
constexpr size_t MAX_PORT_DIGITS = 5;
constexpr unsigned long MAX_PORT = 65535;

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

bool IsV6Char(char c)
{
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') || c == ':' ||
           c == '.';
}

bool ParsePort(const std::string& text, uint16_t& port)
{
    if (text.empty() || text.size() > MAX_PORT_DIGITS)
        return false;
    unsigned long value = 0;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value == 0 || value > MAX_PORT)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

bool ValidHost(const std::string& host, bool bracketed)
{
    if (host.empty() || host.size() > MAX_HOST_LENGTH)
        return false;
    for (char c : host)
    {
        if (!(bracketed ? IsV6Char(c) : IsNameChar(c)))
            return false;
    }
    return true;
}
} // namespace

TServerAddress::TServerAddress(std::string host, uint16_t port)
    : m_sHost(std::move(host)), m_wPort(port)
{
}

bool TServerAddress::Parse(const std::string& text, TServerAddress& address)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    std::string host = text.substr(0, colon);
    bool bracketed = false;
    if (!host.empty() && host.front() == '[')
    {
        if (host.size() < 2 || host.back() != ']')
            return false;
        host = host.substr(1, host.size() - 2);
        bracketed = true;
    }
    uint16_t port = 0;
    if (!ValidHost(host, bracketed) || !ParsePort(text.substr(colon + 1), port))
        return false;
    address = TServerAddress(std::move(host), port);
    return true;
}

uint16_t TServerAddress::ControlPort() const
{
    return m_wPort == MAX_PORT ? 0 : static_cast<uint16_t>(m_wPort + 1);
}

std::string TServerAddress::Text() const
{
    const bool v6 = m_sHost.find(':') != std::string::npos;
    return (v6 ? "[" + m_sHost + "]" : m_sHost) + ":" + std::to_string(m_wPort);
}
