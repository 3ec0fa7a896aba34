// The board's reply handling against any bytes a JTAG library may hand back, whole or with
// the rest arriving late: through the real loading path and a fake library, each query is
// answered with the fuzz input. An exchange works only for a well-formed reply of the
// command's code and length, always does for one that comes within the command's time
// limits and never for one that comes well after them; outputs change only on success and
// stay in their ranges, and no buffer is read or written past its end.
#include "board/Board.h"
#include "tests/board/FakeJtag.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/support/RecordingHost.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

namespace
{
using TBytes = std::vector<uint8_t>;

// Each read of the fake costs this much fake time, so a silent reply ends in a few dozen reads.
constexpr uint32_t READ_COST_MS = 100;
constexpr uint32_t DELAY_UNIT_MS = 100;
constexpr uint32_t TIMING_SLACK_MS = 2 * READ_COST_MS;
// Set in the first byte: the reply's checksum and end mark are made right, so that blind
// mutations of its payload still reach the commands' own checks.
constexpr uint8_t SEAL_FLAG = 0x80;
constexpr uint8_t RAW_REPLY_LEN_RANGE = 64;
constexpr uint8_t MEMORY_READ_LEN_RANGE = 64;
constexpr uint8_t UNTOUCHED = 0xEE;
constexpr uint32_t UNTOUCHED_WORD = 0xDEADBEEF;
constexpr int32_t UNTOUCHED_COUNT = -7;
constexpr uint32_t KEY_MASK = 0xF;
constexpr uint32_t SWITCH_MASK = 0x3FF;
constexpr uint64_t HSMC_IO_LIMIT = uint64_t{1} << 41;
constexpr uint32_t HSMC_XCVR_LIMIT = 1u << 8;

// The board, the fake library and a programmer folder, made once for the whole run.
struct TRig
{
    TRig()
        : Host(QStringLiteral(HX9_FAKE_JTAG_DIR "/")),
          Fake(QStringLiteral(HX9_FAKE_JTAG_DIR "/KELVARO_JTAG.so")), Board(Host)
    {
        QDir(Quartus.path()).mkdir(QStringLiteral("bin"));
        qputenv("QUARTUS_ROOTDIR", Quartus.path().toLocal8Bit());
        Host.Clock = [this] { return Fake->Now(); };
    }

    QTemporaryDir Quartus;
    TRecordingHost Host;
    TFakeJtag Fake;
    TBoard Board;
    TBytes Reply;
    size_t Split = 0;
    uint32_t DelayMs = 0;
};

TRig& Rig()
{
    static TRig rig;
    return rig;
}

// The firmware's answer to the request just written: the head at once, the rest later.
void OnWrite(void* context, const uint8_t*, uint32_t)
{
    auto& rig = *static_cast<TRig*>(context);
    const auto split = rig.Reply.begin() + static_cast<std::ptrdiff_t>(rig.Split);
    rig.Fake.Queue(TBytes(rig.Reply.begin(), split));
    rig.Fake.QueueAfter(rig.DelayMs, TBytes(split, rig.Reply.end()));
}

// Makes the frame at the reply's start well-formed as far as its length field allows.
void Seal(TBytes& reply)
{
    if (reply.size() < PKT_FRAME_OVERHEAD)
        return;
    const size_t length = reply[2] | reply[3] << 8;
    if (reply.size() < length + PKT_FRAME_OVERHEAD)
        return;
    reply[0] = PKT_START_MARK;
    reply[PKT_HEADER_LEN + length] =
        TBoard::Checksum(&reply[1], static_cast<uint32_t>(length + PKT_HEADER_LEN - 1));
    reply[PKT_HEADER_LEN + length + 1] = PKT_END_MARK;
}

enum class TOutcome
{
    Fails,
    Works,
    Either, // the reply comes about when the wait runs out
};

// What the exchange may make of the reply for command with replyLen payload bytes.
struct TExchange
{
    TOutcome Outcome = TOutcome::Fails;
    TBytes Payload; // the frame's payload when it is well-formed

    uint8_t Status() const { return Payload.at(0); }
};

// A late part is waited for up to its limit, which is checked between reads of up to
// RECEIVE_READ_LIMIT_MS each; a few fake reads either side are left open.
TOutcome Timing(size_t frameLen, uint32_t headerLimitMs)
{
    const TRig& rig = Rig();
    if (rig.Split >= frameLen || rig.DelayMs == 0)
        return TOutcome::Works;
    const uint32_t limit = rig.Split < PKT_HEADER_LEN ? headerLimitMs : REPLY_REST_LIMIT_MS;
    if (rig.DelayMs + TIMING_SLACK_MS <= limit)
        return TOutcome::Works;
    if (rig.DelayMs > limit + RECEIVE_READ_LIMIT_MS + TIMING_SLACK_MS)
        return TOutcome::Fails;
    return TOutcome::Either;
}

TExchange Judge(uint8_t command, uint32_t replyLen, uint32_t headerLimitMs = REPLY_HEADER_LIMIT_MS)
{
    const TBytes& r = Rig().Reply;
    TExchange e;
    const size_t frameLen = replyLen + PKT_FRAME_OVERHEAD;
    if (r.size() < frameLen || r[0] != PKT_START_MARK || r[1] != command ||
        (r[2] | r[3] << 8) != static_cast<int>(replyLen) || r[frameLen - 1] != PKT_END_MARK ||
        TBoard::Checksum(&r[1], replyLen + 3) != r[frameLen - 2])
        return e;
    e.Outcome = Timing(frameLen, headerLimitMs);
    e.Payload.assign(r.begin() + PKT_HEADER_LEN, r.begin() + PKT_HEADER_LEN + replyLen);
    return e;
}

// The one check every command shares: only a good reply works, one in time always does.
bool Worked(const TExchange& e)
{
    const bool worked = Rig().Board.LastExchangeWorked();
    FUZZ_CHECK(e.Outcome == TOutcome::Either || worked == (e.Outcome == TOutcome::Works));
    return worked;
}

uint32_t U32At(const TBytes& p, size_t at)
{
    return p[at] | p[at + 1] << 8 | p[at + 2] << 16 | static_cast<uint32_t>(p[at + 3]) << 24;
}

void FuzzPing(TBoard& board, uint8_t, uint8_t)
{
    const TExchange e = Judge(CMD_PING, REPLY_LEN_STATUS);
    const bool result = board.Ping();
    FUZZ_CHECK(result == (Worked(e) && e.Status() == REPLY_STATUS_OK));
}

void FuzzBoardName(TBoard& board, uint8_t, uint8_t)
{
    const TExchange e = Judge(CMD_QUERY_BOARD_NAME, REPLY_LEN_BOARD_NAME);
    const QString before = QStringLiteral("untouched");
    QString name = before;
    const bool result = board.QueryBoardName(name);
    FUZZ_CHECK(result == (Worked(e) && e.Status() == REPLY_STATUS_OK));
    if (!result || e.Payload[1] == 0)
    {
        FUZZ_CHECK(name == before);
        return;
    }
    const auto text = e.Payload.begin() + 1;
    const auto end = std::find(text, e.Payload.end(), 0);
    FUZZ_CHECK(name == QString::fromLatin1(reinterpret_cast<const char*>(&*text), end - text));
}

void FuzzButtonSwitch(TBoard& board, uint8_t, uint8_t)
{
    const TExchange e = Judge(CMD_QUERY_BUTTON_SWITCH, REPLY_LEN_BUTTON_SWITCH);
    uint32_t state = UNTOUCHED_WORD;
    const bool result = board.QueryButtonSwitch(state);
    FUZZ_CHECK(result == (Worked(e) && e.Status() == REPLY_STATUS_OK));
    if (!result)
    {
        FUZZ_CHECK(state == UNTOUCHED_WORD);
        return;
    }
    FUZZ_CHECK((state & KEY_MASK) == (e.Payload[1] & KEY_MASK));
    FUZZ_CHECK(state >> 4 == (U32At(e.Payload, 5) & SWITCH_MASK));
}

void FuzzSDCard(TBoard& board, uint8_t, uint8_t)
{
    const TExchange e = Judge(CMD_QUERY_SDCARD_INFO, REPLY_LEN_SDCARD_INFO, SDCARD_HEADER_LIMIT_MS);
    const QString before = QStringLiteral("untouched");
    bool present = true;
    bool flag = true;
    QString csd = before, cid = before, fileSystem = before;
    const bool result = board.QuerySDCardInfo(present, csd, cid, fileSystem, flag);
    FUZZ_CHECK(result == Worked(e));
    if (!result || e.Status() != REPLY_STATUS_OK)
    {
        FUZZ_CHECK(present == !result);
        FUZZ_CHECK(flag && csd == before && cid == before && fileSystem == before);
        return;
    }
    FUZZ_CHECK(present && flag == (e.Payload[36] != 0));
    FUZZ_CHECK(csd != before && !csd.isEmpty() && cid != before && !cid.isEmpty());
    FUZZ_CHECK(fileSystem == QLatin1String("FAT16") || fileSystem == QLatin1String("FAT32") ||
               fileSystem == QLatin1String("NA"));
}

void FuzzUartRead(TBoard& board, uint8_t device, uint8_t)
{
    const TExchange e = Judge(CMD_UART_READ, REPLY_LEN_UART_READ);
    auto destination = std::make_unique<uint8_t[]>(UART_BLOCK_LEN);
    std::fill_n(destination.get(), UART_BLOCK_LEN, UNTOUCHED);
    bool ok = true;
    int32_t count = UNTOUCHED_COUNT;
    const bool result = board.UartRead(ok, device, count, destination.get());
    FUZZ_CHECK(result == Worked(e));
    FUZZ_CHECK(ok == (result && e.Status() == REPLY_STATUS_OK && e.Payload[1] <= UART_BLOCK_LEN));
    if (!ok)
    {
        FUZZ_CHECK(count == UNTOUCHED_COUNT);
        FUZZ_CHECK(std::all_of(destination.get(), destination.get() + UART_BLOCK_LEN,
                               [](uint8_t b) { return b == UNTOUCHED; }));
        return;
    }
    FUZZ_CHECK(count == e.Payload[1]);
    FUZZ_CHECK(std::equal(destination.get(), destination.get() + count, e.Payload.begin() + 2));
}

void FuzzHsmc(TBoard& board, uint8_t, uint8_t)
{
    const TExchange e = Judge(CMD_HSMC_LOOPBACK_TEST, REPLY_LEN_HSMC_LOOPBACK);
    bool ok = true;
    uint64_t io = UNTOUCHED_WORD;
    uint32_t xcvr = UNTOUCHED_WORD;
    const bool result = board.HsmcLoopbackTest(ok, io, xcvr);
    FUZZ_CHECK(result == Worked(e));
    if (!result)
    {
        FUZZ_CHECK(ok && io == UNTOUCHED_WORD && xcvr == UNTOUCHED_WORD);
        return;
    }
    FUZZ_CHECK(ok == (e.Status() == REPLY_STATUS_OK));
    FUZZ_CHECK(io < HSMC_IO_LIMIT && xcvr < HSMC_XCVR_LIMIT);
    FUZZ_CHECK(ok || (io == 0 && xcvr == 0));
}

void FuzzDeviceControl(TBoard& board, uint8_t device, uint8_t action)
{
    const TExchange e = Judge(CMD_DEVICE_CONTROL, REPLY_LEN_STATUS);
    bool ok = true;
    const bool result = board.DeviceControl(ok, device, action, 0);
    FUZZ_CHECK(result == Worked(e));
    FUZZ_CHECK(ok == (result && e.Status() == REPLY_STATUS_OK));
}

void FuzzMemoryRead(TBoard& board, uint8_t type, uint8_t length)
{
    const uint32_t n = 1 + length % MEMORY_READ_LEN_RANGE;
    const TExchange e = Judge(CMD_MEMORY_READ, REPLY_LEN_STATUS + n);
    auto destination = std::make_unique<uint8_t[]>(n);
    std::fill_n(destination.get(), n, UNTOUCHED);
    const bool result = board.MemoryRead(type, 0, n, destination.get());
    FUZZ_CHECK(result == (Worked(e) && e.Status() == REPLY_STATUS_OK));
    if (result)
        FUZZ_CHECK(std::equal(destination.get(), destination.get() + n, e.Payload.begin() + 1));
    else
        FUZZ_CHECK(std::all_of(destination.get(), destination.get() + n,
                               [](uint8_t b) { return b == UNTOUCHED; }));
}

// Any command code and any expected length straight through the exchange.
void FuzzTransact(TBoard& board, uint8_t command, uint8_t length)
{
    const uint32_t n = length % RAW_REPLY_LEN_RANGE;
    const TExchange e = Judge(command, n);
    // One byte more than the reply, so that an empty reply still has a buffer to point at.
    auto buffer = std::make_unique<uint8_t[]>(n + 1);
    std::fill_n(buffer.get(), n + 1, UNTOUCHED);
    const bool result = board.Transact(command, buffer.get(), REPLY_HEADER_LIMIT_MS, 0, nullptr, n);
    FUZZ_CHECK(result == Worked(e));
    if (result)
        FUZZ_CHECK(std::equal(buffer.get(), buffer.get() + n, e.Payload.begin()));
    else
        FUZZ_CHECK(
            std::all_of(buffer.get(), buffer.get() + n, [](uint8_t b) { return b == UNTOUCHED; }));
    FUZZ_CHECK(buffer[n] == UNTOUCHED);
}

using TCase = void (*)(TBoard&, uint8_t, uint8_t);
constexpr TCase CASES[] = {FuzzPing, FuzzBoardName,     FuzzButtonSwitch, FuzzSDCard,  FuzzUartRead,
                           FuzzHsmc, FuzzDeviceControl, FuzzMemoryRead,   FuzzTransact};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzInput input(data, size);
    const uint8_t pick = input.Byte();
    const TCase fuzzCase = CASES[(pick & ~SEAL_FLAG) % std::size(CASES)];
    const uint8_t first = input.Byte();
    const uint8_t second = input.Byte();
    TRig& rig = Rig();
    rig.Split = input.Byte();
    rig.DelayMs = input.Byte() * DELAY_UNIT_MS;
    rig.Reply = input.Rest();
    rig.Split = std::min(rig.Split, rig.Reply.size());
    if (pick & SEAL_FLAG)
        Seal(rig.Reply);

    // A fresh library state and link for every input, so that no input depends on another.
    rig.Fake->Reset();
    rig.Fake->SetReadCost(READ_COST_MS);
    rig.Fake->SetWriteHook(OnWrite, &rig);
    rig.Host.Messages.clear();
    QString error;
    FUZZ_CHECK(rig.Board.Connect(error, 0));
    fuzzCase(rig.Board, first, second);
    return 0;
}
