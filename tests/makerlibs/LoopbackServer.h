#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A listening socket on 127.0.0.1 with a free port, for talking to the JTAG library from the
// other end of its byte channel. Single-threaded: the kernel queues the client's connect
// until Accept takes it.
class TLoopbackServer
{
public:
    static constexpr int ACCEPT_LIMIT_MS = 1000;

    TLoopbackServer();
    ~TLoopbackServer();
    TLoopbackServer(const TLoopbackServer&) = delete;
    TLoopbackServer& operator=(const TLoopbackServer&) = delete;

    uint16_t Port() const { return m_wPort; }
    // "127.0.0.1:port", the form KELVARO_JTAG_SERVER takes.
    std::string Address() const;
    // Takes the next queued connection, waiting up to limitMs; -1 when none came.
    int Accept(int limitMs = ACCEPT_LIMIT_MS);
    // Sends all bytes on an accepted connection.
    static bool SendAll(int connection, const std::vector<uint8_t>& bytes);
    // Receives exactly count bytes (waits up to a few seconds); fewer when the peer stopped.
    static std::vector<uint8_t> ReceiveAll(int connection, size_t count);

private:
    int m_nListener = -1;
    uint16_t m_wPort = 0;
};

// A port on which nothing listens: bound once, then released.
uint16_t RefusingPort();
