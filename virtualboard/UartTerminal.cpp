#include "virtualboard/UartTerminal.h"

#include "virtualboard/Firmware.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace vboard
{

namespace
{

constexpr size_t READ_CHUNK = 4096;

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// No echo and no line editing: every byte goes through as it is, both ways.
bool MakeRaw(int fd)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

TUartTerminal::~TUartTerminal()
{
    CloseFd(m_Slave);
    CloseFd(m_Master);
}

bool TUartTerminal::Open(std::string& error)
{
    m_Master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    const char* name = nullptr;
    if (m_Master < 0 || ::grantpt(m_Master) != 0 || ::unlockpt(m_Master) != 0 ||
        (name = ::ptsname(m_Master)) == nullptr)
    {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        CloseFd(m_Master);
        return false;
    }
    m_Path = name;
    m_Slave = ::open(m_Path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_Slave < 0 || !MakeRaw(m_Slave) ||
        ::fcntl(m_Master, F_SETFL, ::fcntl(m_Master, F_GETFL) | O_NONBLOCK) != 0)
    {
        error = "cannot set up " + m_Path + ": " + std::strerror(errno);
        CloseFd(m_Slave);
        CloseFd(m_Master);
        m_Path.clear();
        return false;
    }
    return true;
}

std::vector<int> TUartTerminal::Descriptors() const
{
    std::vector<int> fds;
    for (int fd : {m_Master, m_Slave})
        if (fd >= 0)
            fds.push_back(fd);
    return fds;
}

short TUartTerminal::Events(const TBoardOutputs& outputs) const
{
    if (m_Master < 0)
        return 0;
    const bool room = outputs.UartToReceive.size() < UART_BUFFER_LIMIT;
    return static_cast<short>((room ? POLLIN : 0) | (m_Pending.empty() ? 0 : POLLOUT));
}

void TUartTerminal::Pump(TBoardOutputs& outputs)
{
    if (m_Master < 0)
        return;
    TakeSent(outputs);
    WritePending();
    ReadTyped(outputs);
}

void TUartTerminal::TakeSent(const TBoardOutputs& outputs)
{
    // Reconfiguring the board starts the count again.
    if (outputs.UartSentTotal < m_SentTaken)
        m_SentTaken = 0;
    const uint64_t fresh = outputs.UartSentTotal - m_SentTaken;
    m_SentTaken = outputs.UartSentTotal;
    // "uart clear" may have taken some of them already.
    const size_t available = std::min<uint64_t>(fresh, outputs.UartSent.size());
    m_Pending.insert(m_Pending.end(),
                     outputs.UartSent.end() - static_cast<std::ptrdiff_t>(available),
                     outputs.UartSent.end());
    if (m_Pending.size() > PENDING_LIMIT)
        m_Pending.erase(m_Pending.begin(),
                        m_Pending.end() - static_cast<std::ptrdiff_t>(PENDING_LIMIT));
}

void TUartTerminal::WritePending()
{
    while (!m_Pending.empty())
    {
        const ssize_t written = ::write(m_Master, m_Pending.data(), m_Pending.size());
        if (written <= 0)
            return; // the terminal side is full: later
        m_Pending.erase(m_Pending.begin(), m_Pending.begin() + written);
    }
}

void TUartTerminal::ReadTyped(TBoardOutputs& outputs)
{
    uint8_t buffer[READ_CHUNK];
    while (outputs.UartToReceive.size() < UART_BUFFER_LIMIT)
    {
        const size_t room = std::min(READ_CHUNK, UART_BUFFER_LIMIT - outputs.UartToReceive.size());
        const ssize_t count = ::read(m_Master, buffer, room);
        if (count <= 0)
            return;
        // A stopped UART monitor hears nothing.
        if (outputs.UartRunning)
            outputs.UartToReceive.insert(outputs.UartToReceive.end(), buffer, buffer + count);
    }
}

} // namespace vboard
