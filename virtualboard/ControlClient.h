#pragma once

#include "virtualboard/Endpoint.h"

#include <cstdint>
#include <string>

namespace vboard
{

// One connection to the control port of a virtual board: a command line out, a reply
// line back.
class TControlClient
{
public:
    static constexpr int DEFAULT_TIMEOUT_MS = 10000;

    TControlClient() = default;
    TControlClient(const TControlClient&) = delete;
    TControlClient& operator=(const TControlClient&) = delete;
    ~TControlClient();

    /// Connects to the control port of endpoint; false with "no virtual board at host:port: why".
    bool Connect(const TEndpoint& endpoint, std::string& error);

    /// Sends one command line and waits up to timeoutMs for its reply line (line end removed).
    /// False with a reason when the line is not sendable, the link fails or no reply came.
    bool Exchange(const std::string& line, std::string& reply, std::string& error,
                  int timeoutMs = DEFAULT_TIMEOUT_MS);

    void Close();
    bool IsConnected() const { return m_Socket >= 0; }

private:
    int m_Socket = -1;
    std::string m_Pending; // received bytes not yet part of a reply
};

/// Connects, runs one command and closes: the reply line, or false with a reason.
bool ControlRequest(const TEndpoint& endpoint, const std::string& line, std::string& reply,
                    std::string& error, int timeoutMs = TControlClient::DEFAULT_TIMEOUT_MS);

} // namespace vboard
