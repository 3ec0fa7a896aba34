#pragma once

// A raw JTAG byte channel to a virtual board daemon, for tests.

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace vboardtest
{

class TJtagTestClient
{
public:
    ~TJtagTestClient() { Close(); }

    /// Connects to 127.0.0.1:port; false when refused.
    bool Connect(uint16_t port)
    {
        Close();
        m_Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(m_Fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        {
            Close();
            return false;
        }
        const int one = 1;
        ::setsockopt(m_Fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
        return true;
    }

    void Close()
    {
        if (m_Fd >= 0)
            ::close(m_Fd);
        m_Fd = -1;
    }

    bool Send(const std::vector<uint8_t>& bytes)
    {
        size_t sent = 0;
        while (sent < bytes.size())
        {
            const ssize_t n = ::send(m_Fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    /// Reads until count bytes came, the peer closed, or timeoutMs passed; returns what came.
    std::vector<uint8_t> Receive(size_t count, int timeoutMs = 3000)
    {
        std::vector<uint8_t> bytes;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        m_bClosedByPeer = false;
        while (bytes.size() < count)
        {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0)
                break;
            pollfd p{m_Fd, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0)
                break;
            uint8_t buffer[65536];
            const size_t room = std::min(sizeof(buffer), count - bytes.size());
            const ssize_t n = ::recv(m_Fd, buffer, room, 0);
            if (n <= 0)
            {
                m_bClosedByPeer = n == 0 || errno == ECONNRESET;
                break;
            }
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
        return bytes;
    }

    /// True when nothing arrives within timeoutMs (and the link is still open).
    bool Quiet(int timeoutMs)
    {
        pollfd p{m_Fd, POLLIN, 0};
        return ::poll(&p, 1, timeoutMs) == 0;
    }

    bool ClosedByPeer() const { return m_bClosedByPeer; }

private:
    int m_Fd = -1;
    bool m_bClosedByPeer = false;
};

} // namespace vboardtest
