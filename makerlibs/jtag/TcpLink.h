#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "makerlibs/jtag/ServerAddress.h"

// One TCP connection used as a raw byte channel: whole-buffer writes, reads that hand back
// whatever has arrived. The socket is non-blocking; waits are bounded polls.
class TTcpLink
{
public:
    // How long a read waits when nothing has arrived. Callers loop on reads until their own
    // millisecond clock moves on; a wait well under a millisecond lets such a loop end at the
    // next tick instead of always overshooting it (the program's per-exchange drain).
    static constexpr std::chrono::microseconds READ_WAIT{250};
    // A write that makes no progress for this long fails (the peer stopped reading).
    static constexpr int WRITE_STALL_LIMIT_MS = 5000;
    // Big buffers keep a whole reply frame (up to 32 KB) in one kernel read.
    static constexpr int SOCKET_BUFFER_BYTES = 4 * 1024 * 1024;

    ~TTcpLink();
    TTcpLink(const TTcpLink&) = delete;
    TTcpLink& operator=(const TTcpLink&) = delete;

    // Connects to the address within limitMs; nullptr when refused, unreachable or too slow.
    static std::unique_ptr<TTcpLink> Connect(const TServerAddress& address, int limitMs);
    // Whether something accepts connections at host:port; the probe connection is closed again.
    static bool Answers(const std::string& host, uint16_t port, int limitMs);

    // Sends every byte; false when the peer is gone or stopped reading.
    bool Write(const uint8_t* bytes, size_t count);
    // Returns the bytes placed (at most room); 0 after a wait of READ_WAIT when none came or
    // the peer has closed.
    size_t Read(uint8_t* buffer, size_t room);
    // True once the peer was seen closing the connection.
    bool PeerClosed() const { return m_bPeerClosed.load(); }
    // The address connected to.
    const TServerAddress& Address() const { return m_Address; }

private:
    TTcpLink(int socket, TServerAddress address);
    bool PeerHungUp();
    size_t ReceiveNow(uint8_t* buffer, size_t room);
    void MarkClosed();

    int m_nSocket;
    TServerAddress m_Address;
    std::atomic<bool> m_bPeerClosed{false};
};
