// The virtual board's firmware against any request stream: every request frame gets exactly
// one well-formed reply with its code and the length the PC expects for that command, the
// same however the stream is split, and no state a request sets can make it misbehave.
// Half the inputs are records that the target frames itself, so that the checksums hold and
// the commands' own checks are reached even by blind mutation.
#include "tests/fuzz/FrameScan.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzInput.h"
#include "virtualboard/Firmware.h"
#include "virtualboard/Frame.h"

#include <QtEndian>

#include <iterator>

namespace
{
using TBytes = std::vector<uint8_t>;
using namespace vboard;

constexpr size_t MAX_PIECE = 300;
constexpr uint8_t MODE_RECORDS = 0x01;
constexpr uint8_t MODE_UART_RUNNING = 0x02;
constexpr uint8_t MODE_NO_ADAPTER = 0x04;
constexpr uint8_t MODE_NO_CARD = 0x08;
constexpr uint8_t RECORD_RAW_CODE = 0x80;  // a code byte at or above this is sent as it is
constexpr uint8_t RECORD_FIXED_LEN = 0xFF; // the command's own request length

constexpr uint8_t COMMANDS[] = {
    CMD_QUERY_BOARD_NAME,    CMD_PING,           CMD_SET_LED,
    CMD_QUERY_BUTTON_SWITCH, CMD_SET_SEG7,       CMD_QUERY_SDCARD_INFO,
    CMD_MEMORY_WRITE,        CMD_MEMORY_READ,    CMD_UART_WRITE,
    CMD_UART_READ,           CMD_DEVICE_CONTROL, CMD_HSMC_LOOPBACK_TEST};

// Request payload lengths the commands take; a memory write takes any length from 5 up.
size_t RequestLength(uint8_t code)
{
    switch (code)
    {
    case CMD_SET_LED:
        return REQUEST_LEN_SET_LED;
    case CMD_SET_SEG7:
        return REQUEST_LEN_SET_SEG7;
    case CMD_HSMC_LOOPBACK_TEST:
        return REQUEST_LEN_HSMC_LOOPBACK;
    case CMD_MEMORY_WRITE:
        return REQUEST_LEN_MEMORY_WRITE_HEAD + 16;
    case CMD_MEMORY_READ:
        return REQUEST_LEN_MEMORY_READ;
    case CMD_UART_WRITE:
        return REQUEST_LEN_UART_WRITE;
    case CMD_UART_READ:
        return REQUEST_LEN_UART_READ;
    case CMD_DEVICE_CONTROL:
        return REQUEST_LEN_DEVICE_CONTROL;
    default:
        return 0;
    }
}

// Reply payload lengths the PC waits for; a wrong one would make it drop a good reply.
// A memory read whose reply cannot be sent whole is refused with a status alone.
size_t ReplyLength(const TScannedFrame& request)
{
    if (request.Code != CMD_MEMORY_READ)
        return ReplyPayloadLength(request.Code);
    if (request.Payload.size() != REQUEST_LEN_MEMORY_READ)
        return REPLY_LEN_STATUS;
    const uint32_t n =
        qFromLittleEndian<uint32_t>(request.Payload.data() + MEMORY_REQUEST_COUNT_OFFSET);
    return ReplyPayloadLength(CMD_MEMORY_READ, n > MEMORY_READ_CHUNK ? 0 : n);
}

TBytes RecordStream(TFuzzInput& input)
{
    TBytes stream;
    while (input.Left() > 0)
    {
        const uint8_t pick = input.Byte();
        const uint8_t code = pick < RECORD_RAW_CODE ? COMMANDS[pick % std::size(COMMANDS)] : pick;
        const uint8_t lengthByte = input.Byte();
        const size_t length = lengthByte == RECORD_FIXED_LEN ? RequestLength(code) : lengthByte;
        TBytes payload = input.Take(length);
        payload.resize(length);
        const TBytes frame = BuildFrame(code, payload.data(), payload.size());
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

// A firmware's page table is costly to build or wipe, so the two firmwares live for the whole
// run and their memories are wiped now and then: after this many inputs, or once the writes
// may have taken this many pages. Both see the same requests, so their memories stay equal,
// and no check looks at memory contents.
constexpr int INPUTS_PER_WIPE = 1024;
constexpr size_t PAGES_PER_WIPE = 4096;

struct TFirmwarePair
{
    TFirmware Split;
    TFirmware Whole;
    int Inputs = 0;
    size_t Pages = 0; // at most this many pages written since the last wipe

    bool TakeWipe()
    {
        if (++Inputs < INPUTS_PER_WIPE && Pages < PAGES_PER_WIPE)
            return false;
        Inputs = 0;
        Pages = 0;
        return true;
    }

    void CountWrites(const std::vector<TScannedFrame>& requests)
    {
        for (const auto& request : requests)
            if (request.Code == CMD_MEMORY_WRITE)
                Pages += request.Payload.size() / TSparseMemory::PAGE_SIZE + 2;
    }
};

void SetUp(TFirmware& firmware, uint8_t mode, uint8_t uartBytes, bool wipe)
{
    firmware.ForgetInput();
    firmware.Outputs() = TBoardOutputs{};
    if (wipe)
    {
        firmware.Memory(MEM_TYPE_LPDDR2)->Clear();
        firmware.Memory(MEM_TYPE_SRAM)->Clear();
    }
    firmware.Outputs().UartRunning = (mode & MODE_UART_RUNNING) != 0;
    firmware.Inputs().HsmcAdapter = (mode & MODE_NO_ADAPTER) == 0;
    firmware.Inputs().SdCard.Present = (mode & MODE_NO_CARD) == 0;
    for (int i = 0; i < uartBytes; ++i)
        firmware.Outputs().UartToReceive.push_back(static_cast<uint8_t>(i));
}

TFirmware::TReplies Run(TFirmware& firmware, const TBytes& stream,
                        const std::vector<size_t>& pieces)
{
    TFirmware::TReplies replies;
    size_t fed = 0;
    for (const size_t piece : pieces)
    {
        auto some = firmware.Receive(stream.data() + fed, piece);
        replies.insert(replies.end(), some.begin(), some.end());
        fed += piece;
    }
    auto rest = firmware.DiscardIncomplete();
    replies.insert(replies.end(), rest.begin(), rest.end());
    return replies;
}

void CheckReply(const TBytes& reply, const TScannedFrame& request)
{
    FUZZ_CHECK(FrameStartsAt(reply, 0, PKT_NIOS2PC_MAX_PL_LEN));
    FUZZ_CHECK(reply.size() == ReplyLength(request) + PKT_FRAME_OVERHEAD);
    FUZZ_CHECK(reply[1] == request.Code);
    FUZZ_CHECK(reply[PKT_HEADER_LEN] <= STATUS_NO_ADAPTER);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzInput input(data, size);
    const uint8_t mode = input.Byte();
    const uint8_t splitSeed = input.Byte();
    const uint8_t uartBytes = input.Byte();
    const TBytes stream = (mode & MODE_RECORDS) ? RecordStream(input) : input.Rest();

    static TFirmwarePair pair;
    const bool wipe = pair.TakeWipe();
    SetUp(pair.Split, mode, uartBytes, wipe);
    SetUp(pair.Whole, mode, uartBytes, wipe);

    const uint64_t answeredBefore = pair.Split.RequestsAnswered();
    const auto replies = Run(pair.Split, stream, PieceSizes(stream.size(), splitSeed, MAX_PIECE));
    FUZZ_CHECK(pair.Split.Reader().PendingBytes() == 0);

    const auto requests = ScanFrames(stream, PKT_PC2NIOS_MAX_PL_LEN);
    pair.CountWrites(requests);
    FUZZ_CHECK(replies.size() == requests.size());
    FUZZ_CHECK(pair.Split.RequestsAnswered() - answeredBefore == requests.size());
    for (size_t i = 0; i < replies.size(); ++i)
        CheckReply(replies[i], requests[i]);

    FUZZ_CHECK(Run(pair.Whole, stream, {stream.size()}) == replies);
    return 0;
}
