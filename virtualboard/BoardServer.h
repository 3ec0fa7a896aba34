#pragma once

#include "virtualboard/ControlInterface.h"
#include "virtualboard/Endpoint.h"
#include "virtualboard/UartTerminal.h"
#include "virtualboard/VirtualBoard.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace vboard
{

struct TServeOptions
{
    TEndpoint Endpoint; // JtagPort 0: pick a free pair P, P + 1
    bool Stay = false;  // never exit for want of clients
    uint64_t IdleTimeoutMs = 600000;
    bool Programmed = false; // start with the HX9 image already loaded
};

enum class TOpenResult
{
    Listening,
    Busy, // another daemon serves this control port
    Failed,
};

// The daemon: the control port always listening, the JTAG port listening only while the
// FPGA holds the HX9 image (bound but refusing connects while it is blank), one JTAG
// client at a time, everything on one poll() loop with non-blocking sockets.
class TBoardServer
{
public:
    explicit TBoardServer(const TServeOptions& options);
    TBoardServer(const TBoardServer&) = delete;
    TBoardServer& operator=(const TBoardServer&) = delete;
    ~TBoardServer();

    /// Binds both ports on loopback; Busy when the control port is served already,
    /// Failed with a reason for anything else.
    TOpenResult Open(std::string& error);

    /// The JTAG port actually bound (the chosen one after a request for port 0).
    uint16_t JtagPort() const { return m_JtagPort; }

    /// Descriptors the server holds; a detaching daemon keeps these and closes the rest.
    std::vector<int> Descriptors() const;

    /// Serves until "shutdown" or the idle timeout; returns the process exit code.
    int Run();

private:
    struct TQueued
    {
        std::vector<uint8_t> Bytes;
        int64_t ReadyAtMs = 0;
        bool Drop = false;
    };
    struct TJtagClient
    {
        int Fd = -1;
        std::deque<TQueued> Out;
        size_t HeadSent = 0; // bytes of Out.front() already written
        size_t OutBytes = 0;
    };
    struct TControlConnection
    {
        int Fd = -1;
        std::string In;
        std::string Out;
        bool Discarding = false; // inside an over-long line
        bool Closing = false;
    };

    bool BindPair(uint16_t jtagPort, std::string& error, TOpenResult& result);
    bool ReserveJtagPort(std::string& error);
    void SyncBoard();
    void AcceptJtag();
    void ReadJtag(int64_t now);
    void Enqueue(std::vector<TOutgoing> outgoing, int64_t now);
    void FlushJtag(int64_t now);
    void CloseJtagClient();
    void AcceptControl();
    void ReadControl(TControlConnection& connection);
    void FlushControl(TControlConnection& connection);
    int PollTimeout(int64_t now) const;
    bool HasClients() const;

    TServeOptions m_Options;
    TVirtualBoard m_Board;
    TControlInterface m_Control;
    TUartTerminal m_Terminal;
    uint16_t m_JtagPort = 0;
    int m_ControlListener = -1;
    int m_JtagSocket = -1; // bound; listening only while the FPGA is programmed
    bool m_bJtagListening = false;
    uint32_t m_SeenGeneration = 0;
    TJtagClient m_Jtag;
    std::vector<std::unique_ptr<TControlConnection>> m_ControlClients;
    int64_t m_LastActivityMs = 0;
};

} // namespace vboard
