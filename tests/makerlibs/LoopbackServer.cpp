#include "tests/makerlibs/LoopbackServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
constexpr int RECEIVE_LIMIT_MS = 5000;

int BindLoopback(uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}
} // namespace

TLoopbackServer::TLoopbackServer()
{
    m_nListener = BindLoopback(m_wPort);
    if (m_nListener >= 0)
        ::listen(m_nListener, 8);
}

TLoopbackServer::~TLoopbackServer()
{
    if (m_nListener >= 0)
        ::close(m_nListener);
}

std::string TLoopbackServer::Address() const
{
    return "127.0.0.1:" + std::to_string(m_wPort);
}

int TLoopbackServer::Accept(int limitMs)
{
    pollfd entry{m_nListener, POLLIN, 0};
    if (::poll(&entry, 1, limitMs) != 1)
        return -1;
    return ::accept4(m_nListener, nullptr, nullptr, SOCK_CLOEXEC);
}

bool TLoopbackServer::SendAll(int connection, const std::vector<uint8_t>& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size())
    {
        const ssize_t n =
            ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::vector<uint8_t> TLoopbackServer::ReceiveAll(int connection, size_t count)
{
    std::vector<uint8_t> bytes(count);
    size_t got = 0;
    pollfd entry{connection, POLLIN, 0};
    while (got < count && ::poll(&entry, 1, RECEIVE_LIMIT_MS) == 1)
    {
        const ssize_t n = ::recv(connection, bytes.data() + got, count - got, 0);
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

uint16_t RefusingPort()
{
    uint16_t port = 0;
    const int fd = BindLoopback(port);
    if (fd >= 0)
        ::close(fd);
    return port;
}
