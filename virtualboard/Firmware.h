#pragma once

#include "protocol/Commands.h"
#include "virtualboard/BoardState.h"
#include "virtualboard/FrameReader.h"
#include "virtualboard/SparseMemory.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vboard
{

// Memory that was never written reads as this, like erased cells.
constexpr uint8_t MEMORY_FILL = 0xFF;

// The firmware's UART buffers; a PC that sends more than this without anyone reading
// it gets a non-zero status instead of losing bytes.
constexpr size_t UART_BUFFER_LIMIT = 1024 * 1024;

// Reply status byte: 0 is success, the rest say why a request was not honoured.
enum TStatus : uint8_t
{
    STATUS_OK = REPLY_STATUS_OK,
    STATUS_UNKNOWN_COMMAND = 1,
    STATUS_BAD_LENGTH = 2, // request payload of the wrong length
    STATUS_UNKNOWN_MEMORY = 3,
    STATUS_OUT_OF_RANGE = 4, // address range past the memory's end, or count too large
    STATUS_UNKNOWN_DEVICE = 5,
    STATUS_UNKNOWN_ACTION = 6,
    STATUS_BAD_ARGUMENT = 7,
    STATUS_DEVICE_STOPPED = 8, // UART used before DeviceControl started it
    STATUS_NO_CARD = 9,
    STATUS_READ_ONLY = 10,   // write to the ADC block
    STATUS_BUFFER_FULL = 11, // UART bytes sent faster than anyone takes them
    STATUS_NO_ADAPTER = 12,  // HSMC test without the loopback adapter
};

// The board firmware: it takes the PC's bytes as they arrive and answers each request
// frame with one reply frame, with real state behind every command. No sockets, no clock.
class TFirmware
{
public:
    using TReplies = std::vector<std::vector<uint8_t>>;

    TFirmware();

    /// Takes bytes from the PC in any split; returns the replies to the requests they complete.
    TReplies Receive(const uint8_t* bytes, size_t count);

    /// Gives up on a request that stopped half way; returns replies to whole frames found behind
    /// it.
    TReplies DiscardIncomplete();

    /// Answers one request; the reply has the length the command fixes even when the status is not
    /// 0.
    std::vector<uint8_t> Handle(uint8_t code, const uint8_t* payload, size_t count);

    /// Forgets a partly received request without answering anything behind it.
    void ForgetInput() { m_Reader.Reset(); }

    /// Back to the state right after configuration: outputs, memories and partial input
    /// cleared; inputs (keys, switches, ADC, SD card, HSMC adapter) kept.
    void Restart();

    TBoardInputs& Inputs() { return m_Inputs; }
    const TBoardInputs& Inputs() const { return m_Inputs; }
    TBoardOutputs& Outputs() { return m_Outputs; }
    const TBoardOutputs& Outputs() const { return m_Outputs; }

    /// The LPDDR2 (type 7) or SRAM (type 6); nullptr for any other type.
    TSparseMemory* Memory(uint8_t type);

    /// STATUS_OK when count bytes from address lie in the memory of that type (ADC block included).
    TStatus CheckRange(uint8_t type, uint64_t address, uint64_t count);

    /// Reads count bytes of a memory type (the ADC block included); a status says why not.
    TStatus ReadMemory(uint8_t type, uint64_t address, uint8_t* destination, size_t count);

    const TFrameReader& Reader() const { return m_Reader; }
    uint64_t RequestsAnswered() const { return m_RequestsAnswered; }

private:
    std::vector<uint8_t> QueryBoardName(size_t count);
    std::vector<uint8_t> Ping(size_t count);
    std::vector<uint8_t> SetLed(const uint8_t* payload, size_t count);
    std::vector<uint8_t> QueryButtonSwitch(size_t count);
    std::vector<uint8_t> SetSeg7(const uint8_t* payload, size_t count);
    std::vector<uint8_t> QuerySdCardInfo(size_t count);
    std::vector<uint8_t> MemoryWrite(const uint8_t* payload, size_t count);
    std::vector<uint8_t> MemoryRead(const uint8_t* payload, size_t count);
    std::vector<uint8_t> UartWrite(const uint8_t* payload, size_t count);
    std::vector<uint8_t> UartRead(const uint8_t* payload, size_t count);
    std::vector<uint8_t> DeviceControl(const uint8_t* payload, size_t count);
    std::vector<uint8_t> HsmcLoopbackTest(const uint8_t* payload, size_t count);
    TStatus ControlUart(uint8_t action);
    TStatus ControlHdmi(uint8_t action, uint8_t argument);

    TFrameReader m_Reader;
    TBoardInputs m_Inputs;
    TBoardOutputs m_Outputs;
    TSparseMemory m_Lpddr2;
    TSparseMemory m_Sram;
    uint64_t m_RequestsAnswered = 0;
};

} // namespace vboard
