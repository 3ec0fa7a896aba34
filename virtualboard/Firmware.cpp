#include "virtualboard/Firmware.h"

#include "virtualboard/Frame.h"

#include <algorithm>
#include <cstring>

namespace vboard
{

namespace
{

constexpr size_t REPLY_LEN_STATUS = 1;
constexpr size_t REPLY_LEN_BOARD_NAME = 1 + BOARD_NAME_FIELD;
constexpr size_t REPLY_LEN_BUTTON_SWITCH = 13;
constexpr size_t REPLY_LEN_SDCARD_INFO = 37;
constexpr size_t REPLY_LEN_UART_READ = 2 + UART_CHUNK;
constexpr size_t REPLY_LEN_HSMC = 17;

constexpr size_t REQ_LEN_SET_LED = 4;
constexpr size_t REQ_LEN_SET_SEG7 = 5;
constexpr size_t REQ_LEN_MEMORY_WRITE_HEADER = 5; // type, address
constexpr size_t REQ_LEN_MEMORY_READ = 9;         // type, address, count
constexpr size_t REQ_LEN_UART_WRITE = 2 + UART_CHUNK;
constexpr size_t REQ_LEN_UART_READ = 1;
constexpr size_t REQ_LEN_DEVICE_CONTROL = 3;
constexpr size_t REQ_LEN_HSMC = 5;
constexpr size_t MEMORY_READ_MAX = PKT_NIOS2PC_MAX_PL_LEN - 1;

// The PIO words carry other signals above the keys and switches; a PC must mask them.
constexpr uint32_t KEY_WORD_OTHER_BITS = 0x5A5A5A50;
constexpr uint32_t SWITCH_WORD_OTHER_BITS = 0xA5A5A400;

// Offsets in the SD card reply.
constexpr size_t SD_CSD_AT = 1;
constexpr size_t SD_CID_AT = 18;
constexpr size_t SD_FS_AT = 35;
constexpr size_t SD_FLAG_AT = 36;

uint32_t Get32(const uint8_t* p)
{
    return p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void Put32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

// A reply of the given payload length: status in byte 0, the rest zero until filled.
struct TReply
{
    TReply(uint8_t code, size_t length, TStatus status) : Frame(NewFrame(code, length))
    {
        Frame[FRAME_HEADER_LEN] = status;
    }
    uint8_t* Payload() { return Frame.data() + FRAME_HEADER_LEN; }
    std::vector<uint8_t> Seal()
    {
        SealFrame(Frame);
        return std::move(Frame);
    }
    std::vector<uint8_t> Frame;
};

std::vector<uint8_t> StatusReply(uint8_t code, TStatus status)
{
    return TReply(code, REPLY_LEN_STATUS, status).Seal();
}

} // namespace

TFirmware::TFirmware() : m_Lpddr2(LPDDR2_SIZE, MEMORY_FILL), m_Sram(SRAM_SIZE, MEMORY_FILL) {}

TFirmware::TReplies TFirmware::Receive(const uint8_t* bytes, size_t count)
{
    TReplies replies;
    m_Reader.Feed(bytes, count,
                  [&](uint8_t code, const uint8_t* payload, size_t length)
                  { replies.push_back(Handle(code, payload, length)); });
    return replies;
}

TFirmware::TReplies TFirmware::DiscardIncomplete()
{
    TReplies replies;
    m_Reader.DiscardIncomplete([&](uint8_t code, const uint8_t* payload, size_t length)
                               { replies.push_back(Handle(code, payload, length)); });
    return replies;
}

void TFirmware::Restart()
{
    m_Reader.Reset();
    m_Outputs = TBoardOutputs{};
    m_Lpddr2.Clear();
    m_Sram.Clear();
}

TSparseMemory* TFirmware::Memory(uint8_t type)
{
    if (type == MEM_LPDDR2)
        return &m_Lpddr2;
    if (type == MEM_SRAM)
        return &m_Sram;
    return nullptr;
}

std::vector<uint8_t> TFirmware::Handle(uint8_t code, const uint8_t* payload, size_t count)
{
    ++m_RequestsAnswered;
    switch (code)
    {
    case CMD_QUERY_BOARD_NAME:
        return QueryBoardName(count);
    case CMD_PING:
        return Ping(count);
    case CMD_SET_LED:
        return SetLed(payload, count);
    case CMD_QUERY_BUTTON_SWITCH:
        return QueryButtonSwitch(count);
    case CMD_SET_SEG7:
        return SetSeg7(payload, count);
    case CMD_QUERY_SDCARD_INFO:
        return QuerySdCardInfo(count);
    case CMD_MEMORY_WRITE:
        return MemoryWrite(payload, count);
    case CMD_MEMORY_READ:
        return MemoryRead(payload, count);
    case CMD_UART_WRITE:
        return UartWrite(payload, count);
    case CMD_UART_READ:
        return UartRead(payload, count);
    case CMD_DEVICE_CONTROL:
        return DeviceControl(payload, count);
    case CMD_HSMC_LOOPBACK_TEST:
        return HsmcLoopbackTest(payload, count);
    default:
        return StatusReply(code, STATUS_UNKNOWN_COMMAND);
    }
}

std::vector<uint8_t> TFirmware::QueryBoardName(size_t count)
{
    if (count != 0)
        return TReply(CMD_QUERY_BOARD_NAME, REPLY_LEN_BOARD_NAME, STATUS_BAD_LENGTH).Seal();
    TReply reply(CMD_QUERY_BOARD_NAME, REPLY_LEN_BOARD_NAME, STATUS_OK);
    // The field always keeps a terminating NUL.
    const size_t n = std::min(m_Inputs.BoardName.size(), BOARD_NAME_FIELD - 1);
    std::memcpy(reply.Payload() + 1, m_Inputs.BoardName.data(), n);
    return reply.Seal();
}

std::vector<uint8_t> TFirmware::Ping(size_t count)
{
    return StatusReply(CMD_PING, count == 0 ? STATUS_OK : STATUS_BAD_LENGTH);
}

std::vector<uint8_t> TFirmware::SetLed(const uint8_t* payload, size_t count)
{
    if (count != REQ_LEN_SET_LED)
        return StatusReply(CMD_SET_LED, STATUS_BAD_LENGTH);
    // Bits above the 18 LEDs drive nothing.
    m_Outputs.Leds = Get32(payload) & LED_MASK;
    return StatusReply(CMD_SET_LED, STATUS_OK);
}

std::vector<uint8_t> TFirmware::QueryButtonSwitch(size_t count)
{
    if (count != 0)
        return TReply(CMD_QUERY_BUTTON_SWITCH, REPLY_LEN_BUTTON_SWITCH, STATUS_BAD_LENGTH).Seal();
    TReply reply(CMD_QUERY_BUTTON_SWITCH, REPLY_LEN_BUTTON_SWITCH, STATUS_OK);
    ++m_Outputs.ButtonPolls;
    Put32(reply.Payload() + 1, (m_Inputs.Keys & KEY_MASK) | KEY_WORD_OTHER_BITS);
    Put32(reply.Payload() + 5, (m_Inputs.Switches & SWITCH_MASK) | SWITCH_WORD_OTHER_BITS);
    Put32(reply.Payload() + 9, m_Outputs.ButtonPolls);
    return reply.Seal();
}

std::vector<uint8_t> TFirmware::SetSeg7(const uint8_t* payload, size_t count)
{
    if (count != REQ_LEN_SET_SEG7)
        return StatusReply(CMD_SET_SEG7, STATUS_BAD_LENGTH);
    m_Outputs.DigitWord = Get32(payload);
    m_Outputs.DigitExtra = payload[4];
    return StatusReply(CMD_SET_SEG7, STATUS_OK);
}

std::vector<uint8_t> TFirmware::QuerySdCardInfo(size_t count)
{
    if (count != 0)
        return TReply(CMD_QUERY_SDCARD_INFO, REPLY_LEN_SDCARD_INFO, STATUS_BAD_LENGTH).Seal();
    const TSdCard& card = m_Inputs.SdCard;
    if (!card.Present)
        return TReply(CMD_QUERY_SDCARD_INFO, REPLY_LEN_SDCARD_INFO, STATUS_NO_CARD).Seal();
    TReply reply(CMD_QUERY_SDCARD_INFO, REPLY_LEN_SDCARD_INFO, STATUS_OK);
    std::copy(card.Csd.begin(), card.Csd.end(), reply.Payload() + SD_CSD_AT);
    std::copy(card.Cid.begin(), card.Cid.end(), reply.Payload() + SD_CID_AT);
    reply.Payload()[SD_FS_AT] = card.FileSystem;
    reply.Payload()[SD_FLAG_AT] = card.Flag;
    return reply.Seal();
}

TStatus TFirmware::CheckRange(uint8_t type, uint64_t address, uint64_t count)
{
    if (type == MEM_ADC)
        return address <= ADC_BLOCK_SIZE && count <= ADC_BLOCK_SIZE - address ? STATUS_OK
                                                                              : STATUS_OUT_OF_RANGE;
    const TSparseMemory* memory = Memory(type);
    if (memory == nullptr)
        return STATUS_UNKNOWN_MEMORY;
    return memory->Contains(address, count) ? STATUS_OK : STATUS_OUT_OF_RANGE;
}

TStatus TFirmware::ReadMemory(uint8_t type, uint64_t address, uint8_t* destination, size_t count)
{
    const TStatus range = CheckRange(type, address, count);
    if (range != STATUS_OK)
        return range;
    if (type == MEM_ADC)
    {
        uint8_t block[ADC_BLOCK_SIZE];
        for (size_t i = 0; i < ADC_CHANNELS; ++i)
        {
            block[2 * i] = static_cast<uint8_t>(m_Inputs.AdcMillivolts[i] & 0xFF);
            block[2 * i + 1] = static_cast<uint8_t>(m_Inputs.AdcMillivolts[i] >> 8);
        }
        std::memcpy(destination, block + address, count);
        return STATUS_OK;
    }
    return Memory(type)->Read(address, destination, count) ? STATUS_OK : STATUS_OUT_OF_RANGE;
}

std::vector<uint8_t> TFirmware::MemoryWrite(const uint8_t* payload, size_t count)
{
    if (count < REQ_LEN_MEMORY_WRITE_HEADER)
        return StatusReply(CMD_MEMORY_WRITE, STATUS_BAD_LENGTH);
    const uint8_t type = payload[0];
    const uint32_t address = Get32(payload + 1);
    const size_t n = count - REQ_LEN_MEMORY_WRITE_HEADER;
    if (type == MEM_ADC)
        return StatusReply(CMD_MEMORY_WRITE, STATUS_READ_ONLY);
    TSparseMemory* memory = Memory(type);
    if (memory == nullptr)
        return StatusReply(CMD_MEMORY_WRITE, STATUS_UNKNOWN_MEMORY);
    const bool ok = memory->Write(address, payload + REQ_LEN_MEMORY_WRITE_HEADER, n);
    return StatusReply(CMD_MEMORY_WRITE, ok ? STATUS_OK : STATUS_OUT_OF_RANGE);
}

std::vector<uint8_t> TFirmware::MemoryRead(const uint8_t* payload, size_t count)
{
    if (count != REQ_LEN_MEMORY_READ)
        return StatusReply(CMD_MEMORY_READ, STATUS_BAD_LENGTH);
    const uint8_t type = payload[0];
    const uint32_t address = Get32(payload + 1);
    const uint32_t n = Get32(payload + 5);
    // More than one reply frame can carry: the length the PC expects cannot be sent.
    if (n > MEMORY_READ_MAX)
        return StatusReply(CMD_MEMORY_READ, STATUS_OUT_OF_RANGE);
    TReply reply(CMD_MEMORY_READ, 1 + n, STATUS_OK);
    const TStatus status = ReadMemory(type, address, reply.Payload() + 1, n);
    if (status != STATUS_OK)
    {
        // Keep the expected length so the PC sees the status; the data stays zero.
        std::memset(reply.Payload() + 1, 0, n);
        reply.Payload()[0] = status;
    }
    return reply.Seal();
}

std::vector<uint8_t> TFirmware::UartWrite(const uint8_t* payload, size_t count)
{
    if (count != REQ_LEN_UART_WRITE)
        return StatusReply(CMD_UART_WRITE, STATUS_BAD_LENGTH);
    const uint8_t device = payload[0];
    const size_t n = payload[1];
    if (device != DEVICE_UART)
        return StatusReply(CMD_UART_WRITE, STATUS_UNKNOWN_DEVICE);
    if (n > UART_CHUNK)
        return StatusReply(CMD_UART_WRITE, STATUS_BAD_ARGUMENT);
    if (!m_Outputs.UartRunning)
        return StatusReply(CMD_UART_WRITE, STATUS_DEVICE_STOPPED);
    if (m_Outputs.UartSent.size() + n > UART_BUFFER_LIMIT)
        return StatusReply(CMD_UART_WRITE, STATUS_BUFFER_FULL);
    m_Outputs.UartSent.insert(m_Outputs.UartSent.end(), payload + 2, payload + 2 + n);
    m_Outputs.UartSentBlocks.push_back(n);
    m_Outputs.UartSentTotal += n;
    return StatusReply(CMD_UART_WRITE, STATUS_OK);
}

std::vector<uint8_t> TFirmware::UartRead(const uint8_t* payload, size_t count)
{
    if (count != REQ_LEN_UART_READ)
        return TReply(CMD_UART_READ, REPLY_LEN_UART_READ, STATUS_BAD_LENGTH).Seal();
    if (payload[0] != DEVICE_UART)
        return TReply(CMD_UART_READ, REPLY_LEN_UART_READ, STATUS_UNKNOWN_DEVICE).Seal();
    if (!m_Outputs.UartRunning)
        return TReply(CMD_UART_READ, REPLY_LEN_UART_READ, STATUS_DEVICE_STOPPED).Seal();
    TReply reply(CMD_UART_READ, REPLY_LEN_UART_READ, STATUS_OK);
    std::deque<uint8_t>& queue = m_Outputs.UartToReceive;
    const size_t n = std::min(queue.size(), UART_CHUNK);
    reply.Payload()[1] = static_cast<uint8_t>(n);
    std::copy(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n), reply.Payload() + 2);
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n));
    return reply.Seal();
}

TStatus TFirmware::ControlUart(uint8_t action)
{
    if (action == ACTION_START)
        m_Outputs.UartRunning = true;
    else if (action == ACTION_STOP)
        m_Outputs.UartRunning = false;
    else
        return STATUS_UNKNOWN_ACTION;
    return STATUS_OK;
}

TStatus TFirmware::ControlHdmi(uint8_t action, uint8_t argument)
{
    switch (action)
    {
    case ACTION_STOP:
        m_Outputs.HdmiRunning = false;
        return STATUS_OK;
    case ACTION_START:
        m_Outputs.HdmiRunning = true;
        return STATUS_OK;
    case ACTION_SET_PATTERN:
        if (argument >= HDMI_PATTERN_COUNT)
            return STATUS_BAD_ARGUMENT;
        m_Outputs.HdmiPattern = argument;
        return STATUS_OK;
    default:
        return STATUS_UNKNOWN_ACTION;
    }
}

std::vector<uint8_t> TFirmware::DeviceControl(const uint8_t* payload, size_t count)
{
    if (count != REQ_LEN_DEVICE_CONTROL)
        return StatusReply(CMD_DEVICE_CONTROL, STATUS_BAD_LENGTH);
    const uint8_t device = payload[0];
    const uint8_t action = payload[1];
    const uint8_t argument = payload[2];
    TStatus status = STATUS_UNKNOWN_DEVICE;
    if (device == DEVICE_UART)
        status = ControlUart(action);
    else if (device == DEVICE_HDMI)
        status = ControlHdmi(action, argument);
    return StatusReply(CMD_DEVICE_CONTROL, status);
}

std::vector<uint8_t> TFirmware::HsmcLoopbackTest(const uint8_t* payload, size_t count)
{
    if (count != REQ_LEN_HSMC)
        return TReply(CMD_HSMC_LOOPBACK_TEST, REPLY_LEN_HSMC, STATUS_BAD_LENGTH).Seal();
    // Byte 0 selects the test; the loopback test is the only one.
    if (payload[0] != 0)
        return TReply(CMD_HSMC_LOOPBACK_TEST, REPLY_LEN_HSMC, STATUS_BAD_ARGUMENT).Seal();
    if (!m_Inputs.HsmcAdapter)
        return TReply(CMD_HSMC_LOOPBACK_TEST, REPLY_LEN_HSMC, STATUS_NO_ADAPTER).Seal();
    TReply reply(CMD_HSMC_LOOPBACK_TEST, REPLY_LEN_HSMC, STATUS_OK);
    Put32(reply.Payload() + 1, m_Inputs.HsmcA);
    Put32(reply.Payload() + 5, m_Inputs.HsmcB);
    Put32(reply.Payload() + 9, m_Inputs.HsmcC);
    Put32(reply.Payload() + 13, m_Inputs.HsmcD);
    return reply.Seal();
}

} // namespace vboard
