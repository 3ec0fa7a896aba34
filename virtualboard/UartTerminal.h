#pragma once

#include "virtualboard/BoardState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vboard
{

// The board's USB serial port as a pseudo-terminal: a serial terminal program opens Path()
// and reads what the PC sent out of the UART; what it types is what the PC receives.
// Typed bytes reach the firmware only while its UART monitor runs, as on the real board.
class TUartTerminal
{
public:
    // Bytes the PC sent that no terminal took yet are kept up to this many; older ones go.
    static constexpr size_t PENDING_LIMIT = 1024 * 1024;

    TUartTerminal() = default;
    TUartTerminal(const TUartTerminal&) = delete;
    TUartTerminal& operator=(const TUartTerminal&) = delete;
    ~TUartTerminal();

    /// Opens the pseudo-terminal pair in raw mode; false with a reason.
    bool Open(std::string& error);
    bool IsOpen() const { return m_Master >= 0; }
    /// The terminal side's path ("/dev/pts/N"), "" while closed.
    const std::string& Path() const { return m_Path; }
    /// The board side's descriptor for poll(), -1 while closed.
    int Fd() const { return m_Master; }
    /// Descriptors a detaching daemon must keep.
    std::vector<int> Descriptors() const;
    /// The poll() events wanted now: typed bytes while the receive queue has room, and room
    /// for bytes the PC sent.
    short Events(const TBoardOutputs& outputs) const;

    /// Moves typed bytes into the firmware's receive queue and bytes the PC sent since the
    /// last call towards the terminal, as far as either side takes them.
    void Pump(TBoardOutputs& outputs);

private:
    void TakeSent(const TBoardOutputs& outputs);
    void ReadTyped(TBoardOutputs& outputs);
    void WritePending();

    int m_Master = -1;
    int m_Slave = -1; // held open, so the board side never sees a hang-up between terminals
    std::string m_Path;
    uint64_t m_SentTaken = 0; // of outputs.UartSentTotal
    std::vector<uint8_t> m_Pending;
};

} // namespace vboard
