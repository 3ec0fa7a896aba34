#include "virtualboard/Firmware.h"

#include "virtualboard/Frame.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace vboard
{

namespace
{

// The PIO words carry other signals above the keys and switches; a PC must mask them.
constexpr uint32_t KEY_WORD_OTHER_BITS = 0x5A5A5A50;
constexpr uint32_t SWITCH_WORD_OTHER_BITS = 0xA5A5A400;
// The reply's last word, which the PC does not use, counts the polls.
constexpr uint32_t BUTTON_POLLS_OFFSET = 9;

// A reply of the given payload length: status in byte 0, the rest zero until filled.
struct TReply
{
    TReply(uint8_t code, size_t length, TStatus status) : Frame(NewFrame(code, length))
    {
        Frame[PKT_HEADER_LEN] = status;
    }
    uint8_t* Payload() { return Frame.data() + PKT_HEADER_LEN; }
    std::vector<uint8_t> Seal()
    {
        SealFrame(Frame);
        return std::move(Frame);
    }
    std::vector<uint8_t> Frame;
};

// A reply that carries only its status, of the length the PC expects for the command.
std::vector<uint8_t> StatusReply(uint8_t code, TStatus status)
{
    return TReply(code, ReplyPayloadLength(code), status).Seal();
}

} // namespace

TFirmware::TFirmware()
    : m_Lpddr2(LPDDR2_SIZE_BYTES, MEMORY_FILL), m_Sram(SRAM_SIZE_BYTES, MEMORY_FILL)
{
}

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
    if (type == MEM_TYPE_LPDDR2)
        return &m_Lpddr2;
    if (type == MEM_TYPE_SRAM)
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
        return StatusReply(CMD_QUERY_BOARD_NAME, STATUS_BAD_LENGTH);
    TReply reply(CMD_QUERY_BOARD_NAME, REPLY_LEN_BOARD_NAME, STATUS_OK);
    // The field always keeps a terminating NUL.
    const size_t n = std::min<size_t>(m_Inputs.BoardName.size(), BOARD_NAME_TEXT_LEN - 1);
    std::memcpy(reply.Payload() + 1, m_Inputs.BoardName.data(), n);
    return reply.Seal();
}

std::vector<uint8_t> TFirmware::Ping(size_t count)
{
    return StatusReply(CMD_PING, count == 0 ? STATUS_OK : STATUS_BAD_LENGTH);
}

std::vector<uint8_t> TFirmware::SetLed(const uint8_t* payload, size_t count)
{
    if (count != REQUEST_LEN_SET_LED)
        return StatusReply(CMD_SET_LED, STATUS_BAD_LENGTH);
    // Bits above the 18 LEDs drive nothing.
    m_Outputs.Leds = qFromLittleEndian<uint32_t>(payload) & LED_MASK;
    return StatusReply(CMD_SET_LED, STATUS_OK);
}

std::vector<uint8_t> TFirmware::QueryButtonSwitch(size_t count)
{
    if (count != 0)
        return StatusReply(CMD_QUERY_BUTTON_SWITCH, STATUS_BAD_LENGTH);
    TReply reply(CMD_QUERY_BUTTON_SWITCH, REPLY_LEN_BUTTON_SWITCH, STATUS_OK);
    ++m_Outputs.ButtonPolls;
    qToLittleEndian((m_Inputs.Keys & BUTTON_KEY_MASK) | KEY_WORD_OTHER_BITS,
                    reply.Payload() + BUTTON_KEY_OFFSET);
    qToLittleEndian((m_Inputs.Switches & BUTTON_SWITCH_MASK) | SWITCH_WORD_OTHER_BITS,
                    reply.Payload() + BUTTON_SWITCH_OFFSET);
    qToLittleEndian(m_Outputs.ButtonPolls, reply.Payload() + BUTTON_POLLS_OFFSET);
    return reply.Seal();
}

std::vector<uint8_t> TFirmware::SetSeg7(const uint8_t* payload, size_t count)
{
    if (count != REQUEST_LEN_SET_SEG7)
        return StatusReply(CMD_SET_SEG7, STATUS_BAD_LENGTH);
    m_Outputs.DigitWord = qFromLittleEndian<uint32_t>(payload);
    m_Outputs.DigitExtra = payload[4];
    return StatusReply(CMD_SET_SEG7, STATUS_OK);
}

std::vector<uint8_t> TFirmware::QuerySdCardInfo(size_t count)
{
    if (count != 0)
        return StatusReply(CMD_QUERY_SDCARD_INFO, STATUS_BAD_LENGTH);
    const TSdCard& card = m_Inputs.SdCard;
    if (!card.Present)
        return StatusReply(CMD_QUERY_SDCARD_INFO, STATUS_NO_CARD);
    TReply reply(CMD_QUERY_SDCARD_INFO, REPLY_LEN_SDCARD_INFO, STATUS_OK);
    std::copy(card.Csd.begin(), card.Csd.end(), reply.Payload() + SD_CSD_OFFSET);
    std::copy(card.Cid.begin(), card.Cid.end(), reply.Payload() + SD_CID_OFFSET);
    reply.Payload()[SD_FILE_SYSTEM_OFFSET] = card.FileSystem;
    reply.Payload()[SD_FLAG_OFFSET] = card.Flag;
    return reply.Seal();
}

TStatus TFirmware::CheckRange(uint8_t type, uint64_t address, uint64_t count)
{
    if (type == MEM_TYPE_ADC)
        return address <= ADC_BLOCK_LEN && count <= ADC_BLOCK_LEN - address ? STATUS_OK
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
    if (type == MEM_TYPE_ADC)
    {
        uint8_t block[ADC_BLOCK_LEN];
        for (size_t i = 0; i < ADC_CHANNEL_COUNT; ++i)
            qToLittleEndian(m_Inputs.AdcMillivolts[i], block + i * sizeof(uint16_t));
        std::memcpy(destination, block + address, count);
        return STATUS_OK;
    }
    return Memory(type)->Read(address, destination, count) ? STATUS_OK : STATUS_OUT_OF_RANGE;
}

std::vector<uint8_t> TFirmware::MemoryWrite(const uint8_t* payload, size_t count)
{
    if (count < REQUEST_LEN_MEMORY_WRITE_HEAD)
        return StatusReply(CMD_MEMORY_WRITE, STATUS_BAD_LENGTH);
    const uint8_t type = payload[0];
    const uint32_t address = qFromLittleEndian<uint32_t>(payload + MEMORY_REQUEST_ADDRESS_OFFSET);
    const size_t n = count - REQUEST_LEN_MEMORY_WRITE_HEAD;
    if (type == MEM_TYPE_ADC)
        return StatusReply(CMD_MEMORY_WRITE, STATUS_READ_ONLY);
    TSparseMemory* memory = Memory(type);
    if (memory == nullptr)
        return StatusReply(CMD_MEMORY_WRITE, STATUS_UNKNOWN_MEMORY);
    const bool ok = memory->Write(address, payload + REQUEST_LEN_MEMORY_WRITE_HEAD, n);
    return StatusReply(CMD_MEMORY_WRITE, ok ? STATUS_OK : STATUS_OUT_OF_RANGE);
}

std::vector<uint8_t> TFirmware::MemoryRead(const uint8_t* payload, size_t count)
{
    if (count != REQUEST_LEN_MEMORY_READ)
        return StatusReply(CMD_MEMORY_READ, STATUS_BAD_LENGTH);
    const uint8_t type = payload[0];
    const uint32_t address = qFromLittleEndian<uint32_t>(payload + MEMORY_REQUEST_ADDRESS_OFFSET);
    const uint32_t n = qFromLittleEndian<uint32_t>(payload + MEMORY_REQUEST_COUNT_OFFSET);
    // More than one reply frame can carry: the length the PC expects cannot be sent.
    if (n > MEMORY_READ_CHUNK)
        return StatusReply(CMD_MEMORY_READ, STATUS_OUT_OF_RANGE);
    TReply reply(CMD_MEMORY_READ, ReplyPayloadLength(CMD_MEMORY_READ, n), STATUS_OK);
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
    if (count != REQUEST_LEN_UART_WRITE)
        return StatusReply(CMD_UART_WRITE, STATUS_BAD_LENGTH);
    const uint8_t device = payload[0];
    const size_t n = payload[UART_COUNT_OFFSET];
    if (device != DEVICE_UART_USB)
        return StatusReply(CMD_UART_WRITE, STATUS_UNKNOWN_DEVICE);
    if (n > UART_BLOCK_LEN)
        return StatusReply(CMD_UART_WRITE, STATUS_BAD_ARGUMENT);
    if (!m_Outputs.UartRunning)
        return StatusReply(CMD_UART_WRITE, STATUS_DEVICE_STOPPED);
    if (m_Outputs.UartSent.size() + n > UART_BUFFER_LIMIT)
        return StatusReply(CMD_UART_WRITE, STATUS_BUFFER_FULL);
    m_Outputs.UartSent.insert(m_Outputs.UartSent.end(), payload + UART_DATA_OFFSET,
                              payload + UART_DATA_OFFSET + n);
    m_Outputs.UartSentBlocks.push_back(n);
    m_Outputs.UartSentTotal += n;
    return StatusReply(CMD_UART_WRITE, STATUS_OK);
}

std::vector<uint8_t> TFirmware::UartRead(const uint8_t* payload, size_t count)
{
    if (count != REQUEST_LEN_UART_READ)
        return StatusReply(CMD_UART_READ, STATUS_BAD_LENGTH);
    if (payload[0] != DEVICE_UART_USB)
        return StatusReply(CMD_UART_READ, STATUS_UNKNOWN_DEVICE);
    if (!m_Outputs.UartRunning)
        return StatusReply(CMD_UART_READ, STATUS_DEVICE_STOPPED);
    TReply reply(CMD_UART_READ, REPLY_LEN_UART_READ, STATUS_OK);
    std::deque<uint8_t>& queue = m_Outputs.UartToReceive;
    const size_t n = std::min<size_t>(queue.size(), UART_BLOCK_LEN);
    reply.Payload()[UART_COUNT_OFFSET] = static_cast<uint8_t>(n);
    std::copy(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n),
              reply.Payload() + UART_DATA_OFFSET);
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n));
    return reply.Seal();
}

TStatus TFirmware::ControlUart(uint8_t action)
{
    if (action == DEVICE_ACTION_START)
        m_Outputs.UartRunning = true;
    else if (action == DEVICE_ACTION_STOP)
        m_Outputs.UartRunning = false;
    else
        return STATUS_UNKNOWN_ACTION;
    return STATUS_OK;
}

TStatus TFirmware::ControlHdmi(uint8_t action, uint8_t argument)
{
    switch (action)
    {
    case DEVICE_ACTION_STOP:
        m_Outputs.HdmiRunning = false;
        return STATUS_OK;
    case DEVICE_ACTION_START:
        m_Outputs.HdmiRunning = true;
        return STATUS_OK;
    case DEVICE_ACTION_HDMI_PATTERN:
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
    if (count != REQUEST_LEN_DEVICE_CONTROL)
        return StatusReply(CMD_DEVICE_CONTROL, STATUS_BAD_LENGTH);
    const uint8_t device = payload[0];
    const uint8_t action = payload[1];
    const uint8_t argument = payload[2];
    TStatus status = STATUS_UNKNOWN_DEVICE;
    if (device == DEVICE_UART_USB)
        status = ControlUart(action);
    else if (device == DEVICE_HDMI_TX)
        status = ControlHdmi(action, argument);
    return StatusReply(CMD_DEVICE_CONTROL, status);
}

std::vector<uint8_t> TFirmware::HsmcLoopbackTest(const uint8_t* payload, size_t count)
{
    if (count != REQUEST_LEN_HSMC_LOOPBACK)
        return StatusReply(CMD_HSMC_LOOPBACK_TEST, STATUS_BAD_LENGTH);
    // Byte 0 selects the test; the loopback test is the only one.
    if (payload[0] != 0)
        return StatusReply(CMD_HSMC_LOOPBACK_TEST, STATUS_BAD_ARGUMENT);
    if (!m_Inputs.HsmcAdapter)
        return StatusReply(CMD_HSMC_LOOPBACK_TEST, STATUS_NO_ADAPTER);
    TReply reply(CMD_HSMC_LOOPBACK_TEST, REPLY_LEN_HSMC_LOOPBACK, STATUS_OK);
    qToLittleEndian(m_Inputs.HsmcA, reply.Payload() + HSMC_WORD_A_OFFSET);
    qToLittleEndian(m_Inputs.HsmcB, reply.Payload() + HSMC_WORD_B_OFFSET);
    qToLittleEndian(m_Inputs.HsmcC, reply.Payload() + HSMC_WORD_C_OFFSET);
    qToLittleEndian(m_Inputs.HsmcD, reply.Payload() + HSMC_WORD_D_OFFSET);
    return reply.Seal();
}

} // namespace vboard
