#include "makerlibs/jtag/TcpLink.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
using Clock = std::chrono::steady_clock;

std::chrono::microseconds TimeLeft(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    return std::max(left, std::chrono::microseconds(0));
}

// Waits for events on the socket; returns the events seen, 0 on timeout.
short WaitFor(int socket, short events, std::chrono::microseconds limit)
{
    pollfd entry{socket, events, 0};
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit);
    const timespec wait{static_cast<time_t>(seconds.count()),
                        static_cast<long>(std::chrono::nanoseconds(limit - seconds).count())};
    for (;;)
    {
        const int ready = ::ppoll(&entry, 1, &wait, nullptr);
        if (ready > 0)
            return entry.revents;
        if (ready == 0 || errno != EINTR)
            return 0;
    }
}

void SetOption(int socket, int level, int name, int value)
{
    // Best effort: the kernel caps buffer sizes, and a link works without any of these.
    (void)::setsockopt(socket, level, name, &value, sizeof value);
}

// Connects one resolved address; returns the socket or -1.
int ConnectOne(const addrinfo& entry, Clock::time_point deadline)
{
    const int fd = ::socket(entry.ai_family, entry.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            entry.ai_protocol);
    if (fd < 0)
        return -1;
    // Buffer sizes must be set before the connect to take part in the window negotiation.
    SetOption(fd, SOL_SOCKET, SO_SNDBUF, TTcpLink::SOCKET_BUFFER_BYTES);
    SetOption(fd, SOL_SOCKET, SO_RCVBUF, TTcpLink::SOCKET_BUFFER_BYTES);
    int result = ::connect(fd, entry.ai_addr, entry.ai_addrlen);
    if (result != 0 && errno == EINPROGRESS)
    {
        if (WaitFor(fd, POLLOUT, TimeLeft(deadline)) != 0)
        {
            int error = 0;
            socklen_t size = sizeof error;
            result =
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0 ? 0 : -1;
        }
    }
    if (result != 0)
    {
        ::close(fd);
        return -1;
    }
    SetOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
    return fd;
}

// Keeps a caller's read loop from spinning at full speed on a link that will never deliver.
void PauseOnDeadLink()
{
    std::this_thread::sleep_for(TTcpLink::READ_WAIT);
}

int ConnectSocket(const std::string& host, uint16_t port, int limitMs)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) != 0)
        return -1;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    int fd = -1;
    for (addrinfo* entry = list; entry != nullptr && fd < 0; entry = entry->ai_next)
        fd = ConnectOne(*entry, deadline);
    ::freeaddrinfo(list);
    return fd;
}
} // namespace

TTcpLink::TTcpLink(int socket, TServerAddress address)
    : m_nSocket(socket), m_Address(std::move(address))
{
}

TTcpLink::~TTcpLink()
{
    ::close(m_nSocket);
}

std::unique_ptr<TTcpLink> TTcpLink::Connect(const TServerAddress& address, int limitMs)
{
    const int fd = ConnectSocket(address.Host(), address.Port(), limitMs);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<TTcpLink>(new TTcpLink(fd, address));
}

bool TTcpLink::Answers(const std::string& host, uint16_t port, int limitMs)
{
    const int fd = ConnectSocket(host, port, limitMs);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool TTcpLink::PeerHungUp()
{
    if (m_bPeerClosed.load())
        return true;
    // A peer that closed has sent its FIN; writing on would only feed a reset.
    const short events = WaitFor(m_nSocket, POLLRDHUP, std::chrono::microseconds(0));
    if ((events & (POLLRDHUP | POLLHUP | POLLERR)) != 0)
        MarkClosed();
    return m_bPeerClosed.load();
}

void TTcpLink::MarkClosed()
{
    m_bPeerClosed.store(true);
}

bool TTcpLink::Write(const uint8_t* bytes, size_t count)
{
    if (PeerHungUp())
        return false;
    size_t sent = 0;
    while (sent < count)
    {
        const ssize_t n = ::send(m_nSocket, bytes + sent, count - sent, MSG_NOSIGNAL);
        if (n > 0)
        {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        {
            if ((WaitFor(m_nSocket, POLLOUT, std::chrono::milliseconds(WRITE_STALL_LIMIT_MS)) &
                 POLLOUT) == 0)
                return false;
            continue;
        }
        MarkClosed();
        return false;
    }
    return true;
}

size_t TTcpLink::ReceiveNow(uint8_t* buffer, size_t room)
{
    for (;;)
    {
        const ssize_t n = ::recv(m_nSocket, buffer, room, 0);
        if (n > 0)
            return static_cast<size_t>(n);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            MarkClosed();
        return 0;
    }
}

size_t TTcpLink::Read(uint8_t* buffer, size_t room)
{
    if (room == 0)
        return 0;
    size_t n = ReceiveNow(buffer, room);
    if (n > 0 || m_bPeerClosed.load())
    {
        if (n == 0)
            PauseOnDeadLink();
        return n;
    }
    if ((WaitFor(m_nSocket, POLLIN, READ_WAIT) & (POLLIN | POLLHUP | POLLERR)) != 0)
        n = ReceiveNow(buffer, room);
    return n;
}
