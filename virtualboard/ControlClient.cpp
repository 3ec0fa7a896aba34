#include "virtualboard/ControlClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
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

std::string Where(const TEndpoint& endpoint)
{
    return endpoint.Host + ":" + std::to_string(endpoint.ControlPort());
}

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

TControlClient::~TControlClient()
{
    Close();
}

void TControlClient::Close()
{
    if (m_Socket >= 0)
        ::close(m_Socket);
    m_Socket = -1;
    m_Pending.clear();
}

bool TControlClient::Connect(const TEndpoint& endpoint, std::string& error)
{
    Close();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(endpoint.ControlPort());
    if (inet_pton(AF_INET, endpoint.Host.c_str(), &address.sin_addr) != 1)
    {
        error = "bad host '" + endpoint.Host + "'";
        return false;
    }
    m_Socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_Socket < 0)
    {
        error = std::string("cannot create a socket: ") + std::strerror(errno);
        return false;
    }
    if (::connect(m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
    {
        error = "no virtual board at " + Where(endpoint) + ": " + std::strerror(errno);
        Close();
        return false;
    }
    const int one = 1;
    ::setsockopt(m_Socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
    return true;
}

bool TControlClient::Exchange(const std::string& line, std::string& reply, std::string& error,
                              int timeoutMs)
{
    if (m_Socket < 0)
    {
        error = "not connected";
        return false;
    }
    if (line.find_first_of("\r\n") != std::string::npos)
    {
        error = "a command is one line";
        return false;
    }
    const std::string wire = line + "\n";
    for (size_t sent = 0; sent < wire.size();)
    {
        const ssize_t n = ::send(m_Socket, wire.data() + sent, wire.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            error = std::string("control link lost: ") + std::strerror(errno);
            Close();
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    const int64_t deadline = NowMs() + timeoutMs;
    for (;;)
    {
        const size_t end = m_Pending.find('\n');
        if (end != std::string::npos)
        {
            reply = m_Pending.substr(0, end);
            if (!reply.empty() && reply.back() == '\r')
                reply.pop_back();
            m_Pending.erase(0, end + 1);
            return true;
        }
        const int64_t left = deadline - NowMs();
        pollfd fd{m_Socket, POLLIN, 0};
        const int ready = left > 0 ? ::poll(&fd, 1, static_cast<int>(left)) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
        {
            error = "no reply from the virtual board within " + std::to_string(timeoutMs) + " ms";
            Close();
            return false;
        }
        char buffer[4096];
        const ssize_t n = ready > 0 ? ::recv(m_Socket, buffer, sizeof(buffer), 0) : -1;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            error = "the virtual board closed the control link";
            Close();
            return false;
        }
        m_Pending.append(buffer, static_cast<size_t>(n));
    }
}

bool ControlRequest(const TEndpoint& endpoint, const std::string& line, std::string& reply,
                    std::string& error, int timeoutMs)
{
    TControlClient client;
    return client.Connect(endpoint, error) && client.Exchange(line, reply, error, timeoutMs);
}

} // namespace vboard
