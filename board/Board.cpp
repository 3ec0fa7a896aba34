#include "board/Board.h"

#include "host/Host.h"
#include "board/JtagPort.h"
#include "board/SDCardReport.h"

#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
// Programming errors in a caller are stopped here, in every build.
void Require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "TBoard::Transact: precondition failed: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

// Text of at most room bytes, ending at the first NUL if there is one.
QString BoundedText(const uint8_t* bytes, uint32_t room)
{
    const void* nul = std::memchr(bytes, 0, room);
    const auto length = nul ? static_cast<const uint8_t*>(nul) - bytes : room;
    return QString::fromLatin1(reinterpret_cast<const char*>(bytes), length);
}

// The bits of the HSMC loopback words that carry pins.
constexpr uint32_t HSMC_BANK_MASK = 0x3FFFF; // 18 pins per bank word
constexpr uint32_t HSMC_XCVR_MASK = 0xFF;

// Spreads the loopback words over the 41-bit IO mask: C0, A0-17, C1-2, B0-17, C3-4.
uint64_t HsmcIoMask(uint32_t a, uint32_t b, uint32_t c)
{
    uint64_t mask = c & 0x1u;
    mask |= static_cast<uint64_t>(a & HSMC_BANK_MASK) << 1;
    mask |= static_cast<uint64_t>((c >> 1) & 0x3u) << 19;
    mask |= static_cast<uint64_t>(b & HSMC_BANK_MASK) << 21;
    mask |= static_cast<uint64_t>((c >> 3) & 0x3u) << 39;
    return mask;
}
} // namespace

TBoard::TBoard(THost& host) : m_Host(host) {}

TBoard::~TBoard()
{
    Disconnect();
}

bool TBoard::Connect(QString& errorText, int32_t deviceIndex)
{
    Disconnect();
    m_pPort = std::make_unique<TJtagPort>(m_Host, deviceIndex, QString());
    const bool opened = m_pPort->Open();
    if (!opened)
    {
        errorText = QLatin1String(CONNECT_ERROR_TEXT);
        m_pPort.reset();
        return false;
    }
    uint8_t info[JTAG_INFO_SIZE] = {};
    if (m_pPort->GetInfo(info))
        m_BoardName =
            BoundedText(info + JTAG_INFO_NAME_OFFSET, JTAG_INFO_SIZE - JTAG_INFO_NAME_OFFSET);
    m_LastActivityTick = m_Host.TickCount();
    return true;
}

void TBoard::Disconnect()
{
    if (m_pPort)
    {
        if (m_pPort->IsOpen())
            m_pPort->Close();
        m_pPort.reset();
    }
    m_BoardName.clear();
}

bool TBoard::IsConnected() const
{
    return m_pPort && m_pPort->IsOpen();
}

void TBoard::DrainInput()
{
    if (!m_pPort)
        return;
    uint32_t discarded = 0;
    uint8_t byte = 0;
    while (m_pPort->Read(&byte, 1, DRAIN_READ_LIMIT_MS) > 0)
    {
        if (discarded++ > DRAIN_MAX_DISCARDED)
            break;
    }
}

uint8_t TBoard::Checksum(const uint8_t* bytes, uint32_t count)
{
    return FrameChecksum(bytes, count);
}

bool TBoard::VerifyFrame(const uint8_t* frame, uint32_t frameLength)
{
    return IsWellFormedFrame(frame, frameLength);
}

bool TBoard::ReceiveExact(uint8_t* buffer, uint32_t count, uint32_t limitMs)
{
    if (!IsConnected())
        return false;
    const uint32_t start = m_Host.TickCount();
    const uint32_t readLimit = m_WaitHook ? WAIT_HOOK_SLICE_MS : RECEIVE_READ_LIMIT_MS;
    uint32_t total = 0;
    for (;;)
    {
        if (m_Host.TickCount() - start > limitMs)
            return false;
        total += static_cast<uint32_t>(m_pPort->Read(buffer + total, count - total, readLimit));
        if (total >= count)
            return true;
        if (m_WaitHook)
            m_WaitHook();
    }
}

bool TBoard::Transact(uint8_t command, uint8_t* pReturnBuffer, uint32_t headerLimitMs,
                      uint32_t dwPayloadLen, const uint8_t* payload, uint32_t replyPayloadLen)
{
    Require(pReturnBuffer != nullptr, "pReturnBuffer");
    Require(dwPayloadLen <= PKT_PC2NIOS_MAX_PL_LEN, "dwPayloadLen <= PKT_PC2NIOS_MAX_PL_LEN");
    Require(dwPayloadLen == 0 || payload != nullptr, "payload");
    // No reply is longer; a longer expectation could never be met.
    Require(replyPayloadLen <= PKT_NIOS2PC_MAX_PL_LEN, "replyPayloadLen <= PKT_NIOS2PC_MAX_PL_LEN");
    m_bLastExchangeWorked = false;
    if (!IsConnected())
    {
        m_Host.Beep();
        return false;
    }

    DrainInput();

    std::vector<uint8_t> request(dwPayloadLen + PKT_FRAME_OVERHEAD);
    PutFrameHeader(request.data(), command, static_cast<uint16_t>(dwPayloadLen));
    if (dwPayloadLen > 0)
        std::memcpy(&request[PKT_HEADER_LEN], payload, dwPayloadLen);
    PutFrameTrailer(request.data());
    if (!m_pPort->Write(request.data(), static_cast<uint32_t>(request.size())))
    {
        m_Host.Beep();
        return false;
    }

    std::vector<uint8_t> reply(replyPayloadLen + PKT_FRAME_OVERHEAD);
    if (!ReceiveExact(reply.data(), PKT_HEADER_LEN, headerLimitMs) || reply[0] != PKT_START_MARK ||
        reply[PKT_CODE_OFFSET] != command)
    {
        DrainInput();
        return false;
    }
    const uint32_t replyLen = FramePayloadLength(reply.data());
    if (replyLen != replyPayloadLen)
        return false;
    if (!ReceiveExact(&reply[PKT_HEADER_LEN], replyLen + PKT_TRAILER_LEN, REPLY_REST_LIMIT_MS))
    {
        m_Host.Beep();
        return false;
    }
    if (!VerifyFrame(reply.data(), static_cast<uint32_t>(reply.size())))
    {
        m_Host.Beep();
        return false;
    }
    if (replyLen > 0)
        std::memcpy(pReturnBuffer, &reply[PKT_HEADER_LEN], replyLen);
    m_bLastExchangeWorked = true;
    return true;
}

bool TBoard::SimpleCommand(uint8_t command, uint32_t payloadLen, const uint8_t* payload)
{
    uint8_t status = 0xFF;
    return Transact(command, &status, REPLY_HEADER_LIMIT_MS, payloadLen, payload,
                    REPLY_LEN_STATUS) &&
           status == REPLY_STATUS_OK;
}

bool TBoard::QueryBoardName(QString& name)
{
    uint8_t reply[REPLY_LEN_BOARD_NAME];
    if (!Transact(CMD_QUERY_BOARD_NAME, reply, REPLY_HEADER_LIMIT_MS, 0, nullptr,
                  REPLY_LEN_BOARD_NAME) ||
        reply[0] != REPLY_STATUS_OK)
        return false;
    const QString text = BoundedText(reply + 1, BOARD_NAME_TEXT_LEN);
    if (!text.isEmpty())
        name = text;
    return true;
}

bool TBoard::Ping()
{
    return SimpleCommand(CMD_PING, 0, nullptr);
}

bool TBoard::KeepAlive()
{
    const bool idle = m_Host.TickCount() - m_LastActivityTick > KEEP_ALIVE_IDLE_MS;
    const int tries = idle ? KEEP_ALIVE_PINGS : 1;
    bool result = false;
    for (int i = 0; i < tries; ++i)
    {
        result = Ping();
        if (!result)
            break;
    }
    m_LastActivityTick = m_Host.TickCount();
    return result;
}

bool TBoard::SetLED(uint32_t mask)
{
    uint8_t payload[REQUEST_LEN_SET_LED];
    qToLittleEndian(mask, payload);
    return SimpleCommand(CMD_SET_LED, sizeof payload, payload);
}

bool TBoard::QueryButtonSwitch(uint32_t& state)
{
    uint8_t reply[REPLY_LEN_BUTTON_SWITCH];
    if (!Transact(CMD_QUERY_BUTTON_SWITCH, reply, REPLY_HEADER_LIMIT_MS, 0, nullptr,
                  REPLY_LEN_BUTTON_SWITCH) ||
        reply[0] != REPLY_STATUS_OK)
        return false;
    const uint32_t keys = qFromLittleEndian<uint32_t>(reply + BUTTON_KEY_OFFSET) & BUTTON_KEY_MASK;
    const uint32_t switches =
        qFromLittleEndian<uint32_t>(reply + BUTTON_SWITCH_OFFSET) & BUTTON_SWITCH_MASK;
    state = switches << INPUT_SWITCH_SHIFT | keys;
    return true;
}

bool TBoard::SetSeg7(uint32_t digits, uint8_t extra)
{
    uint8_t payload[REQUEST_LEN_SET_SEG7];
    qToLittleEndian(digits, payload);
    payload[4] = extra;
    return SimpleCommand(CMD_SET_SEG7, sizeof payload, payload);
}

bool TBoard::QuerySDCardInfo(bool& present, QString& csdText, QString& cidText,
                             QString& fileSystemText, bool& flag)
{
    uint8_t reply[REPLY_LEN_SDCARD_INFO];
    if (!Transact(CMD_QUERY_SDCARD_INFO, reply, SDCARD_HEADER_LIMIT_MS, 0, nullptr,
                  REPLY_LEN_SDCARD_INFO))
        return false;
    if (reply[0] != REPLY_STATUS_OK)
    {
        present = false;
        return true;
    }
    present = true;
    flag = reply[SD_FLAG_OFFSET] != 0;
    csdText = FormatCSD(
        std::span<const uint8_t, SD_REGISTER_LEN>(reply + SD_CSD_OFFSET, SD_REGISTER_LEN));
    cidText = FormatCID(
        std::span<const uint8_t, SD_REGISTER_LEN>(reply + SD_CID_OFFSET, SD_REGISTER_LEN));
    switch (reply[SD_FILE_SYSTEM_OFFSET])
    {
    case SD_FILE_SYSTEM_FAT16:
        fileSystemText = QStringLiteral("FAT16");
        break;
    case SD_FILE_SYSTEM_FAT32:
        fileSystemText = QStringLiteral("FAT32");
        break;
    default:
        fileSystemText = QStringLiteral("NA");
        break;
    }
    return true;
}

bool TBoard::MemoryWrite(uint8_t memoryType, uint32_t address, uint32_t length, const uint8_t* data)
{
    // One request buffer serves every chunk; Transact copies it into its frame.
    std::vector<uint8_t> request(REQUEST_LEN_MEMORY_WRITE_HEAD +
                                 std::min(length, MEMORY_WRITE_CHUNK));
    uint32_t done = 0;
    bool result = true;
    while (result && done < length)
    {
        const uint32_t n = std::min(MEMORY_WRITE_CHUNK, length - done);
        request[0] = memoryType;
        qToLittleEndian(address, &request[MEMORY_REQUEST_ADDRESS_OFFSET]);
        std::memcpy(&request[REQUEST_LEN_MEMORY_WRITE_HEAD], data + done, n);
        result = SimpleCommand(CMD_MEMORY_WRITE, REQUEST_LEN_MEMORY_WRITE_HEAD + n, request.data());
        if (result)
        {
            address += n;
            done += n;
        }
    }
    return result;
}

bool TBoard::MemoryRead(uint8_t memoryType, uint32_t address, uint32_t length, uint8_t* destination)
{
    std::vector<uint8_t> reply(REPLY_LEN_STATUS + std::min(length, MEMORY_READ_CHUNK));
    uint32_t done = 0;
    bool result = true;
    while (result && done < length)
    {
        const uint32_t n = std::min(MEMORY_READ_CHUNK, length - done);
        uint8_t request[REQUEST_LEN_MEMORY_READ];
        request[0] = memoryType;
        qToLittleEndian(address, request + MEMORY_REQUEST_ADDRESS_OFFSET);
        qToLittleEndian(n, request + MEMORY_REQUEST_COUNT_OFFSET);
        result = Transact(CMD_MEMORY_READ, reply.data(), REPLY_HEADER_LIMIT_MS, sizeof request,
                          request, REPLY_LEN_STATUS + n) &&
                 reply[0] == REPLY_STATUS_OK;
        if (result)
        {
            std::memcpy(destination + done, &reply[REPLY_LEN_STATUS], n);
            address += n;
            done += n;
        }
    }
    return result;
}

bool TBoard::UartWrite(bool& ok, uint8_t device, int32_t length, const uint8_t* data)
{
    ok = true;
    bool result = true;
    int32_t done = 0;
    while (result && ok && done < length)
    {
        const auto c = static_cast<uint32_t>(
            std::min<int32_t>(static_cast<int32_t>(UART_BLOCK_LEN), length - done));
        uint8_t request[REQUEST_LEN_UART_WRITE] = {};
        request[0] = device;
        request[UART_COUNT_OFFSET] = static_cast<uint8_t>(c);
        std::memcpy(request + UART_DATA_OFFSET, data + done, c);
        done += static_cast<int32_t>(c);
        uint8_t status = 0xFF;
        result = Transact(CMD_UART_WRITE, &status, REPLY_HEADER_LIMIT_MS, sizeof request, request,
                          REPLY_LEN_STATUS);
        if (result && status != REPLY_STATUS_OK)
            ok = false;
    }
    return result;
}

bool TBoard::UartRead(bool& ok, uint8_t device, int32_t& count, uint8_t* destination)
{
    ok = false;
    uint8_t reply[REPLY_LEN_UART_READ];
    if (!Transact(CMD_UART_READ, reply, REPLY_HEADER_LIMIT_MS, REQUEST_LEN_UART_READ, &device,
                  REPLY_LEN_UART_READ))
        return false;
    const uint8_t received = reply[UART_COUNT_OFFSET];
    if (reply[0] != REPLY_STATUS_OK || received > UART_BLOCK_LEN)
        return true;
    std::memcpy(destination, reply + UART_DATA_OFFSET, received);
    count = received;
    ok = true;
    return true;
}

bool TBoard::DeviceControl(bool& ok, uint8_t device, uint8_t action, uint8_t argument)
{
    ok = false;
    const uint8_t request[REQUEST_LEN_DEVICE_CONTROL] = {device, action, argument};
    uint8_t status = 0xFF;
    if (!Transact(CMD_DEVICE_CONTROL, &status, REPLY_HEADER_LIMIT_MS, sizeof request, request,
                  REPLY_LEN_STATUS))
        return false;
    ok = status == REPLY_STATUS_OK;
    return true;
}

bool TBoard::HsmcLoopbackTest(bool& ok, uint64_t& ioErrorMask, uint32_t& xcvrErrorMask)
{
    const uint8_t request[REQUEST_LEN_HSMC_LOOPBACK] = {};
    uint8_t reply[REPLY_LEN_HSMC_LOOPBACK];
    if (!Transact(CMD_HSMC_LOOPBACK_TEST, reply, REPLY_HEADER_LIMIT_MS, sizeof request, request,
                  REPLY_LEN_HSMC_LOOPBACK))
        return false;
    ioErrorMask = 0;
    xcvrErrorMask = 0;
    if (reply[0] != REPLY_STATUS_OK)
    {
        ok = false;
        return true;
    }
    ioErrorMask = HsmcIoMask(qFromLittleEndian<uint32_t>(reply + HSMC_WORD_A_OFFSET),
                             qFromLittleEndian<uint32_t>(reply + HSMC_WORD_B_OFFSET),
                             qFromLittleEndian<uint32_t>(reply + HSMC_WORD_C_OFFSET));
    xcvrErrorMask = qFromLittleEndian<uint32_t>(reply + HSMC_WORD_D_OFFSET) & HSMC_XCVR_MASK;
    ok = true;
    return true;
}
