#include "virtualboard/BoardServer.h"

#include "virtualboard/FpgaImage.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vboard
{

namespace
{

constexpr int LISTEN_BACKLOG = 16;
constexpr int PICK_PORT_TRIES = 64;
constexpr size_t READ_CHUNK = 64 * 1024;
// Stop reading a JTAG client that does not take its replies once this much waits.
constexpr size_t JTAG_BACKLOG_LIMIT = 4 * 1024 * 1024;
// Bytes read from the JTAG client per loop turn, so control commands are not starved.
constexpr size_t JTAG_READ_PER_TURN = 1024 * 1024;
constexpr size_t CONTROL_OUT_LIMIT = 4 * 1024 * 1024;
// poll() entries: control listener, JTAG listener, JTAG client, UART terminal, then controls.
constexpr size_t FIRST_CONTROL_FD = 4;

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string Errno()
{
    return std::strerror(errno);
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

int NewSocket()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd >= 0)
    {
        const int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
    }
    return fd;
}

bool BindLoopback(int fd, const std::string& host, uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1)
    {
        errno = EINVAL;
        return false;
    }
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

uint16_t BoundPort(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof(address);
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

void SetNoDelay(int fd)
{
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
}

} // namespace

TBoardServer::TBoardServer(const TServeOptions& options) : m_Options(options), m_Control(m_Board)
{
    m_Control.SetStatusSource(
        [this]
        {
            TServerStatus status;
            status.JtagPort = m_JtagPort;
            status.JtagClient = m_Jtag.Fd >= 0;
            status.ControlClients = m_ControlClients.size();
            status.UartTerminal = m_Terminal.Path();
            return status;
        });
}

TBoardServer::~TBoardServer()
{
    CloseJtagClient();
    for (auto& connection : m_ControlClients)
        CloseFd(connection->Fd);
    CloseFd(m_JtagSocket);
    CloseFd(m_ControlListener);
}

std::vector<int> TBoardServer::Descriptors() const
{
    std::vector<int> fds;
    for (int fd : {m_ControlListener, m_JtagSocket, m_Jtag.Fd})
        if (fd >= 0)
            fds.push_back(fd);
    for (int fd : m_Terminal.Descriptors())
        fds.push_back(fd);
    for (const auto& connection : m_ControlClients)
        fds.push_back(connection->Fd);
    return fds;
}

bool TBoardServer::BindPair(uint16_t jtagPort, std::string& error, TOpenResult& result)
{
    const std::string& host = m_Options.Endpoint.Host;
    m_JtagSocket = NewSocket();
    m_ControlListener = NewSocket();
    if (m_JtagSocket < 0 || m_ControlListener < 0)
    {
        error = "cannot create a socket: " + Errno();
        result = TOpenResult::Failed;
        return false;
    }
    if (jtagPort != 0)
    {
        // The control port decides who serves: a second daemon backs off quietly.
        if (!BindLoopback(m_ControlListener, host, static_cast<uint16_t>(jtagPort + 1)))
        {
            result = errno == EADDRINUSE ? TOpenResult::Busy : TOpenResult::Failed;
            error = "cannot bind control port " + std::to_string(jtagPort + 1) + ": " + Errno();
            return false;
        }
        if (!BindLoopback(m_JtagSocket, host, jtagPort))
        {
            result = TOpenResult::Failed;
            error = "cannot bind JTAG port " + std::to_string(jtagPort) + ": " + Errno();
            return false;
        }
        m_JtagPort = jtagPort;
        return true;
    }
    if (!BindLoopback(m_JtagSocket, host, 0))
    {
        result = TOpenResult::Failed;
        error = "cannot bind a free port: " + Errno();
        return false;
    }
    m_JtagPort = BoundPort(m_JtagSocket);
    if (m_JtagPort == 0 || m_JtagPort == UINT16_MAX ||
        !BindLoopback(m_ControlListener, host, static_cast<uint16_t>(m_JtagPort + 1)))
    {
        result = TOpenResult::Failed;
        error = "no free port pair";
        return false;
    }
    return true;
}

TOpenResult TBoardServer::Open(std::string& error)
{
    TOpenResult result = TOpenResult::Failed;
    const int tries = m_Options.Endpoint.JtagPort == 0 ? PICK_PORT_TRIES : 1;
    bool bound = false;
    for (int i = 0; i < tries && !bound; ++i)
    {
        CloseFd(m_JtagSocket);
        CloseFd(m_ControlListener);
        bound = BindPair(m_Options.Endpoint.JtagPort, error, result);
        if (result == TOpenResult::Busy)
            return result;
    }
    if (!bound)
        return TOpenResult::Failed;
    if (::listen(m_ControlListener, LISTEN_BACKLOG) != 0)
    {
        error = "cannot listen on the control port: " + Errno();
        return TOpenResult::Failed;
    }
    if (m_Options.Programmed && !m_Board.ProgramImage(MakeHx9Image(), error))
        return TOpenResult::Failed;
    // A board without a terminal still serves the PC.
    std::string terminalError;
    m_Terminal.Open(terminalError);
    m_SeenGeneration = m_Board.Generation();
    if (m_Board.IsProgrammed())
    {
        if (::listen(m_JtagSocket, LISTEN_BACKLOG) != 0)
        {
            error = "cannot listen on the JTAG port: " + Errno();
            return TOpenResult::Failed;
        }
        m_bJtagListening = true;
    }
    return TOpenResult::Listening;
}

bool TBoardServer::ReserveJtagPort(std::string& error)
{
    CloseFd(m_JtagSocket);
    m_bJtagListening = false;
    m_JtagSocket = NewSocket();
    if (m_JtagSocket < 0 || !BindLoopback(m_JtagSocket, m_Options.Endpoint.Host, m_JtagPort))
    {
        error = "cannot bind JTAG port " + std::to_string(m_JtagPort) + ": " + Errno();
        return false;
    }
    return true;
}

void TBoardServer::SyncBoard()
{
    if (m_Board.Generation() != m_SeenGeneration)
    {
        // Reconfigured or powered off: the old byte stream means nothing any more.
        m_SeenGeneration = m_Board.Generation();
        CloseJtagClient();
    }
    std::string error;
    if (!m_Board.IsProgrammed() && m_bJtagListening)
    {
        // A socket cannot stop listening; a fresh bound one refuses connects again.
        ReserveJtagPort(error);
    }
    else if (m_Board.IsProgrammed() && !m_bJtagListening)
    {
        if (m_JtagSocket < 0)
            ReserveJtagPort(error);
        m_bJtagListening = m_JtagSocket >= 0 && ::listen(m_JtagSocket, LISTEN_BACKLOG) == 0;
    }
}

void TBoardServer::CloseJtagClient()
{
    CloseFd(m_Jtag.Fd);
    m_Jtag.Out.clear();
    m_Jtag.HeadSent = 0;
    m_Jtag.OutBytes = 0;
    m_Board.StartSession();
}

void TBoardServer::AcceptJtag()
{
    const int fd = ::accept4(m_JtagSocket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    // One client at a time: the newcomer replaces whoever was there.
    CloseJtagClient();
    SetNoDelay(fd);
    m_Jtag.Fd = fd;
}

void TBoardServer::ReadJtag(int64_t now)
{
    uint8_t buffer[READ_CHUNK];
    size_t total = 0;
    while (m_Jtag.Fd >= 0 && total < JTAG_READ_PER_TURN && m_Jtag.OutBytes < JTAG_BACKLOG_LIMIT)
    {
        const ssize_t n = ::recv(m_Jtag.Fd, buffer, sizeof(buffer), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0)
        {
            CloseJtagClient();
            return;
        }
        total += static_cast<size_t>(n);
        Enqueue(m_Board.Receive(buffer, static_cast<size_t>(n), static_cast<uint64_t>(now)), now);
    }
}

void TBoardServer::Enqueue(std::vector<TOutgoing> outgoing, int64_t now)
{
    if (m_Jtag.Fd < 0)
        return;
    for (TOutgoing& item : outgoing)
    {
        if (item.Bytes.empty() && !item.DropConnection)
            continue; // stalled: the reply is never sent
        // now is truncated to the millisecond: one more keeps a delay from coming up short.
        const int64_t readyAt = item.DelayMs > 0 ? now + item.DelayMs + 1 : now;
        m_Jtag.OutBytes += item.Bytes.size();
        m_Jtag.Out.push_back(TQueued{std::move(item.Bytes), readyAt, item.DropConnection});
    }
}

void TBoardServer::FlushJtag(int64_t now)
{
    while (m_Jtag.Fd >= 0 && !m_Jtag.Out.empty())
    {
        TQueued& head = m_Jtag.Out.front();
        if (head.ReadyAtMs > now)
            return;
        if (head.Drop)
        {
            CloseJtagClient();
            return;
        }
        while (m_Jtag.HeadSent < head.Bytes.size())
        {
            const ssize_t n = ::send(m_Jtag.Fd, head.Bytes.data() + m_Jtag.HeadSent,
                                     head.Bytes.size() - m_Jtag.HeadSent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (n < 0)
            {
                CloseJtagClient();
                return;
            }
            m_Jtag.HeadSent += static_cast<size_t>(n);
        }
        m_Jtag.OutBytes -= head.Bytes.size();
        m_Jtag.HeadSent = 0;
        m_Jtag.Out.pop_front();
    }
}

void TBoardServer::AcceptControl()
{
    const int fd = ::accept4(m_ControlListener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    SetNoDelay(fd);
    auto connection = std::make_unique<TControlConnection>();
    connection->Fd = fd;
    m_ControlClients.push_back(std::move(connection));
}

void TBoardServer::ReadControl(TControlConnection& connection)
{
    char buffer[READ_CHUNK];
    for (;;)
    {
        const ssize_t n = ::recv(connection.Fd, buffer, sizeof(buffer), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n <= 0)
        {
            connection.Closing = true;
            break;
        }
        connection.In.append(buffer, static_cast<size_t>(n));
        size_t end;
        while ((end = connection.In.find('\n')) != std::string::npos)
        {
            std::string line = connection.In.substr(0, end);
            connection.In.erase(0, end + 1);
            if (connection.Discarding)
            {
                connection.Discarding = false;
                continue;
            }
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            connection.Out += m_Control.Execute(line) + "\n";
            SyncBoard();
        }
        if (connection.In.size() > TControlInterface::MAX_LINE)
        {
            connection.In.clear();
            if (!connection.Discarding)
                connection.Out += "error line too long\n";
            connection.Discarding = true;
        }
        if (connection.Out.size() > CONTROL_OUT_LIMIT)
        {
            // A client that sends commands without reading replies is cut off.
            connection.Closing = true;
            break;
        }
    }
}

void TBoardServer::FlushControl(TControlConnection& connection)
{
    while (!connection.Out.empty())
    {
        const ssize_t n =
            ::send(connection.Fd, connection.Out.data(), connection.Out.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n < 0)
        {
            connection.Out.clear();
            connection.Closing = true;
            return;
        }
        connection.Out.erase(0, static_cast<size_t>(n));
    }
}

bool TBoardServer::HasClients() const
{
    return m_Jtag.Fd >= 0 || !m_ControlClients.empty();
}

int TBoardServer::PollTimeout(int64_t now) const
{
    int64_t timeout = -1;
    auto consider = [&timeout](int64_t ms)
    {
        ms = std::max<int64_t>(ms, 0);
        timeout = timeout < 0 ? ms : std::min(timeout, ms);
    };
    const int64_t tick = m_Board.NextTickIn(static_cast<uint64_t>(now));
    if (tick >= 0)
        consider(tick);
    if (m_Jtag.Fd >= 0 && !m_Jtag.Out.empty() && m_Jtag.Out.front().ReadyAtMs > now)
        consider(m_Jtag.Out.front().ReadyAtMs - now);
    if (!m_Options.Stay && !HasClients())
        consider(m_LastActivityMs + static_cast<int64_t>(m_Options.IdleTimeoutMs) - now);
    return static_cast<int>(std::min<int64_t>(timeout, INT_MAX));
}

int TBoardServer::Run()
{
    m_LastActivityMs = NowMs();
    std::vector<pollfd> fds;
    for (;;)
    {
        int64_t now = NowMs();
        if (HasClients())
            m_LastActivityMs = now;
        else if (!m_Options.Stay &&
                 now - m_LastActivityMs >= static_cast<int64_t>(m_Options.IdleTimeoutMs))
            return 0;

        fds.clear();
        fds.push_back({m_ControlListener, POLLIN, 0});
        fds.push_back({m_bJtagListening ? m_JtagSocket : -1, POLLIN, 0});
        short jtagEvents = 0;
        if (m_Jtag.OutBytes < JTAG_BACKLOG_LIMIT)
            jtagEvents |= POLLIN;
        if (!m_Jtag.Out.empty() && m_Jtag.Out.front().ReadyAtMs <= now)
            jtagEvents |= POLLOUT;
        fds.push_back({m_Jtag.Fd, jtagEvents, 0});
        fds.push_back({m_Terminal.Fd(), m_Terminal.Events(m_Board.Firmware().Outputs()), 0});
        for (const auto& connection : m_ControlClients)
            fds.push_back({connection->Fd,
                           static_cast<short>(POLLIN | (connection->Out.empty() ? 0 : POLLOUT)),
                           0});

        if (::poll(fds.data(), fds.size(), PollTimeout(now)) < 0 && errno != EINTR)
            return 1;
        now = NowMs();

        // Control first: a command may reconfigure the board under the JTAG client.
        const size_t controlCount = m_ControlClients.size();
        for (size_t i = 0; i < controlCount; ++i)
        {
            TControlConnection& connection = *m_ControlClients[i];
            const short revents = fds[FIRST_CONTROL_FD + i].revents;
            if (revents & (POLLIN | POLLHUP | POLLERR))
                ReadControl(connection);
            FlushControl(connection);
        }
        if (m_Control.ShutdownRequested())
            return 0;
        std::erase_if(m_ControlClients,
                      [](const std::unique_ptr<TControlConnection>& c)
                      {
                          if (!c->Closing)
                              return false;
                          ::close(c->Fd);
                          return true;
                      });
        if (fds[0].revents & POLLIN)
            AcceptControl();

        if (m_Jtag.Fd >= 0 && m_Jtag.Fd == fds[2].fd &&
            (fds[2].revents & (POLLIN | POLLHUP | POLLERR)))
            ReadJtag(now);
        if (m_bJtagListening && (fds[1].revents & POLLIN))
            AcceptJtag();
        Enqueue(m_Board.Tick(static_cast<uint64_t>(now)), now);
        FlushJtag(now);
        m_Terminal.Pump(m_Board.Firmware().Outputs());
    }
}

} // namespace vboard
