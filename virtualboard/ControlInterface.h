#pragma once

#include "virtualboard/VirtualBoard.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vboard
{

// What the daemon around the board knows and the board does not.
struct TServerStatus
{
    uint16_t JtagPort = 0;
    bool JtagClient = false;
    size_t ControlClients = 0;
    std::string UartTerminal; // the pseudo-terminal's path, "" without one
};

// The control interface: one text command in, one reply line out ("ok ..." or
// "error <reason>"). The commands are listed in virtualboard/README.md.
class TControlInterface
{
public:
    static constexpr size_t MAX_LINE = 200 * 1024;   // fits a 64 KB "mem write" in hex
    static constexpr size_t MAX_MEMORY_LINE = 65536; // bytes per "mem read" / "mem write"

    explicit TControlInterface(TVirtualBoard& board);

    /// Runs one command line (without its line end); returns the reply line without its line end.
    std::string Execute(const std::string& line);

    /// Where "status" learns about sockets and clients.
    void SetStatusSource(std::function<TServerStatus()> source)
    {
        m_StatusSource = std::move(source);
    }

    /// True once "shutdown" was asked for.
    bool ShutdownRequested() const { return m_bShutdown; }

private:
    using TWords = std::vector<std::string>;

    std::string Help() const;
    std::string Status() const;
    std::string Program(const std::string& rest);
    std::string BoardName(const TWords& words, const std::string& rest);
    std::string Keys(const TWords& words);
    std::string Key(const TWords& words);
    std::string Switches(const TWords& words);
    std::string Switch(const TWords& words);
    std::string Leds() const;
    std::string Seg7() const;
    std::string Hdmi() const;
    std::string Uart(const TWords& words, const std::string& line);
    std::string SdCard(const TWords& words);
    std::string Adc(const TWords& words);
    std::string Hsmc(const TWords& words);
    std::string Memory(const TWords& words);
    std::string MemoryFault(const TWords& words, const std::string& usage);
    std::string Fault(const std::string& rest);

    TVirtualBoard& m_Board;
    std::function<TServerStatus()> m_StatusSource;
    bool m_bShutdown = false;
};

} // namespace vboard
