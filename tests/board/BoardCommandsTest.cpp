#include "tests/board/BoardFixture.h"

#include <array>
#include <functional>
#include <numeric>

namespace
{
using Bytes = std::vector<uint8_t>;
using Reply = std::optional<Bytes>;

class BoardCommandsTest : public BoardTest
{
protected:
    void SetUp() override { ConnectBoard(); }
};

// Codes, memory types, devices and actions as literal bytes: the board and the virtual board
// share one set of constants, so only frames written out here show a wrong value.
TEST_F(BoardCommandsTest, EachOperationSendsItsExactFrame)
{
    AnswerStatus(0); // operations expecting longer replies fail; their request went out whole
    Bytes uartWrite{0xAA, 0x13, 0x82, 0x00, 0x02, 0x03, 'a', 'b', 'c'};
    uartWrite.resize(4 + 130);
    uartWrite.insert(uartWrite.end(), {0xC0, 0x55});
    bool ok = false;
    int32_t count = 0;
    uint8_t data[128] = {0xAB, 0xCD};
    uint64_t io = 0;
    uint32_t xcvr = 0;
    QString text;
    uint32_t state = 0;
    const struct
    {
        const char* Name;
        std::function<void(TBoard&)> Run;
        Bytes Frame;
    } cases[] = {
        {"QueryBoardName",
         [&](TBoard& b) { b.QueryBoardName(text); },
         {0xAA, 0x00, 0x00, 0x00, 0x00, 0x55}},
        {"QueryButtonSwitch",
         [&](TBoard& b) { b.QueryButtonSwitch(state); },
         {0xAA, 0x06, 0x00, 0x00, 0x06, 0x55}},
        {"SetSeg7",
         [](TBoard& b) { b.SetSeg7(0x4321, 0); },
         {0xAA, 0x07, 0x05, 0x00, 0x21, 0x43, 0x00, 0x00, 0x00, 0x70, 0x55}},
        {"QuerySDCardInfo",
         [&](TBoard& b) { b.QuerySDCardInfo(ok, text, text, text, ok); },
         {0xAA, 0x08, 0x00, 0x00, 0x08, 0x55}},
        {"MemoryWrite SRAM",
         [&](TBoard& b) { b.MemoryWrite(MEM_TYPE_SRAM, 0x12345678, 2, data); },
         {0xAA, 0x0C, 0x07, 0x00, 0x06, 0x78, 0x56, 0x34, 0x12, 0xAB, 0xCD, 0xA5, 0x55}},
        {"MemoryRead LPDDR2",
         [&](TBoard& b) { b.MemoryRead(MEM_TYPE_LPDDR2, 0x10, 4, data); },
         {0xAA, 0x0D, 0x09, 0x00, 0x07, 0x10, 0, 0, 0, 0x04, 0, 0, 0, 0x31, 0x55}},
        {"MemoryRead ADC",
         [&](TBoard& b) { b.MemoryRead(MEM_TYPE_ADC, 0, 16, data); },
         {0xAA, 0x0D, 0x09, 0x00, 0x0A, 0, 0, 0, 0, 0x10, 0, 0, 0, 0x30, 0x55}},
        {"UartWrite",
         [&](TBoard& b)
         { b.UartWrite(ok, DEVICE_UART_USB, 3, reinterpret_cast<const uint8_t*>("abc")); },
         uartWrite},
        {"UartRead",
         [&](TBoard& b) { b.UartRead(ok, DEVICE_UART_USB, count, data); },
         {0xAA, 0x14, 0x01, 0x00, 0x02, 0x17, 0x55}},
        {"UART start",
         [&](TBoard& b) { b.DeviceControl(ok, DEVICE_UART_USB, DEVICE_ACTION_START, 0); },
         {0xAA, 0x15, 0x03, 0x00, 0x02, 0x01, 0x00, 0x1B, 0x55}},
        {"UART stop",
         [&](TBoard& b) { b.DeviceControl(ok, DEVICE_UART_USB, DEVICE_ACTION_STOP, 0); },
         {0xAA, 0x15, 0x03, 0x00, 0x02, 0x00, 0x00, 0x1A, 0x55}},
        {"HDMI start",
         [&](TBoard& b) { b.DeviceControl(ok, DEVICE_HDMI_TX, DEVICE_ACTION_START, 0); },
         {0xAA, 0x15, 0x03, 0x00, 0x04, 0x01, 0x00, 0x1D, 0x55}},
        {"HDMI pattern 3",
         [&](TBoard& b) { b.DeviceControl(ok, DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN, 3); },
         {0xAA, 0x15, 0x03, 0x00, 0x04, 0x02, 0x03, 0x21, 0x55}},
        {"HsmcLoopbackTest",
         [&](TBoard& b) { b.HsmcLoopbackTest(ok, io, xcvr); },
         {0xAA, 0x35, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3A, 0x55}},
    };
    for (const auto& c : cases)
    {
        const auto before = static_cast<std::ptrdiff_t>(Fake->WrittenCount());
        c.Run(Board);
        const Bytes written = Fake.Written();
        EXPECT_EQ(Bytes(written.begin() + before, written.end()), c.Frame) << c.Name;
    }
}

TEST_F(BoardCommandsTest, MemoryWriteWalksInChunksAndStopsAtTheFirstFailure)
{
    AnswerStatus(0);
    Bytes data(65536);
    std::iota(data.begin(), data.end(), uint8_t{0});
    ASSERT_TRUE(Board.MemoryWrite(MEM_TYPE_LPDDR2, 0x1000, 65536, data.data()));

    ASSERT_EQ(Firmware.Requests.size(), 3u);
    const uint32_t addresses[] = {0x1000, 0x8FE7, 0x10FCE};
    const size_t lengths[] = {32743, 32743, 50};
    Bytes received;
    for (size_t i = 0; i < 3; ++i)
    {
        const Bytes& p = Firmware.Requests[i].Payload;
        EXPECT_EQ(Firmware.Requests[i].Command, CMD_MEMORY_WRITE);
        EXPECT_EQ(p[0], MEM_TYPE_LPDDR2);
        EXPECT_EQ(ReadU32(p, 1), addresses[i]);
        EXPECT_EQ(p.size(), 5 + lengths[i]);
        received.insert(received.end(), p.begin() + 5, p.end());
    }
    EXPECT_EQ(received, data);

    // A non-zero status on the second chunk ends the walk there.
    Firmware.Requests.clear();
    Firmware.Reply = [this](const TRequest&)
    { return Reply(Bytes{static_cast<uint8_t>(Firmware.Requests.size() == 2 ? 3 : 0)}); };
    EXPECT_FALSE(Board.MemoryWrite(MEM_TYPE_SRAM, 0, 65536, data.data()));
    EXPECT_EQ(Firmware.Requests.size(), 2u);

    Firmware.Requests.clear();
    EXPECT_TRUE(Board.MemoryWrite(MEM_TYPE_SRAM, 0, 0, nullptr));
    EXPECT_TRUE(Firmware.Requests.empty());
}

TEST_F(BoardCommandsTest, MemoryReadWalksInChunksIntoTheDestination)
{
    // The firmware serves byte (address & 0xFF) at every address.
    Firmware.Reply = [](const TRequest& r)
    {
        const uint32_t address = ReadU32(r.Payload, 1);
        const uint32_t count = ReadU32(r.Payload, 5);
        Bytes reply{0};
        for (uint32_t i = 0; i < count; ++i)
            reply.push_back(static_cast<uint8_t>(address + i));
        return Reply(reply);
    };
    Bytes destination(32748, 0xEE);
    ASSERT_TRUE(Board.MemoryRead(MEM_TYPE_ADC, 0x20, 32748, destination.data()));
    ASSERT_EQ(Firmware.Requests.size(), 2u);
    EXPECT_EQ(Firmware.Requests[0].Payload.size(), REQUEST_LEN_MEMORY_READ);
    EXPECT_EQ(Firmware.Requests[0].Payload[0], MEM_TYPE_ADC);
    EXPECT_EQ(ReadU32(Firmware.Requests[0].Payload, 5), 32747u);
    EXPECT_EQ(ReadU32(Firmware.Requests[1].Payload, 1), 0x20u + 32747u);
    EXPECT_EQ(ReadU32(Firmware.Requests[1].Payload, 5), 1u);
    for (size_t i = 0; i < destination.size(); ++i)
        ASSERT_EQ(destination[i], static_cast<uint8_t>(0x20 + i)) << i;

    // A failed status writes nothing of that chunk.
    Firmware.Reply = [](const TRequest& r)
    { return Reply(Bytes(1 + ReadU32(r.Payload, 5), 0x01)); };
    Bytes untouched(4, 0xEE);
    EXPECT_FALSE(Board.MemoryRead(MEM_TYPE_SRAM, 0, 4, untouched.data()));
    EXPECT_EQ(untouched, Bytes(4, 0xEE));
}

TEST_F(BoardCommandsTest, UartWriteSendsBlocksOf128AndStopsOnAStatus)
{
    AnswerStatus(0);
    Bytes text(300);
    std::iota(text.begin(), text.end(), uint8_t{1});
    bool ok = false;
    ASSERT_TRUE(Board.UartWrite(ok, DEVICE_UART_USB, 300, text.data()));
    EXPECT_TRUE(ok);
    ASSERT_EQ(Firmware.Requests.size(), 3u);
    const uint8_t counts[] = {128, 128, 44};
    for (size_t i = 0; i < 3; ++i)
    {
        const Bytes& p = Firmware.Requests[i].Payload;
        EXPECT_EQ(p.size(), REQUEST_LEN_UART_WRITE);
        EXPECT_EQ(p[0], DEVICE_UART_USB);
        EXPECT_EQ(p[1], counts[i]);
        EXPECT_TRUE(std::equal(p.begin() + 2, p.begin() + 2 + counts[i], text.begin() + 128 * i));
    }
    EXPECT_EQ(Firmware.Requests[2].Payload[2 + 44], 0); // unused room is zero

    Firmware.Requests.clear();
    AnswerStatus(1);
    EXPECT_TRUE(Board.UartWrite(ok, DEVICE_UART_USB, 300, text.data()));
    EXPECT_FALSE(ok);
    EXPECT_EQ(Firmware.Requests.size(), 1u);

    Firmware.Requests.clear();
    ok = false;
    EXPECT_TRUE(Board.UartWrite(ok, DEVICE_UART_USB, -5, nullptr));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(Firmware.Requests.empty());
}

TEST_F(BoardCommandsTest, UartReadCopiesOnlyAValidCount)
{
    uint8_t count = 5;
    Firmware.Reply = [&count](const TRequest&)
    {
        Bytes reply(REPLY_LEN_UART_READ, 'x');
        reply[0] = 0;
        reply[1] = count;
        return Reply(reply);
    };
    uint8_t destination[UART_BLOCK_LEN + 8];
    std::fill(std::begin(destination), std::end(destination), 0xEE);
    bool ok = false;
    int32_t received = -1;
    ASSERT_TRUE(Board.UartRead(ok, DEVICE_UART_USB, received, destination));
    EXPECT_TRUE(ok);
    EXPECT_EQ(received, 5);
    EXPECT_EQ(destination[4], 'x');
    EXPECT_EQ(destination[5], 0xEE);
    EXPECT_EQ(Firmware.Requests[0].Payload, Bytes{DEVICE_UART_USB});

    count = 129;
    std::fill(std::begin(destination), std::end(destination), 0xEE);
    received = -1;
    EXPECT_TRUE(Board.UartRead(ok, DEVICE_UART_USB, received, destination));
    EXPECT_FALSE(ok);
    EXPECT_EQ(received, -1);
    EXPECT_EQ(destination[0], 0xEE);
}

TEST_F(BoardCommandsTest, ButtonSwitchStateKeepsOnlyKeysAndSwitches)
{
    Firmware.Reply = [](const TRequest&)
    {
        Bytes reply{0};
        AppendU32(reply, 0xFFFFFFF0u | 0xA);
        AppendU32(reply, 0xFFFFF000u | 0x201);
        AppendU32(reply, 0xFFFFFFFFu);
        return Reply(reply);
    };
    uint32_t state = 0;
    ASSERT_TRUE(Board.QueryButtonSwitch(state));
    EXPECT_EQ(state, 0x201Au);
}

TEST_F(BoardCommandsTest, HsmcMasksSpreadTheLoopbackWords)
{
    Firmware.Reply = [](const TRequest&)
    {
        Bytes reply{0};
        AppendU32(reply, 0x1);
        AppendU32(reply, 0x1);
        AppendU32(reply, 0x1F);
        AppendU32(reply, 0x5);
        return Reply(reply);
    };
    bool ok = false;
    uint64_t io = 0;
    uint32_t xcvr = 0;
    ASSERT_TRUE(Board.HsmcLoopbackTest(ok, io, xcvr));
    EXPECT_TRUE(ok);
    const uint64_t expected =
        1ull << 0 | 1ull << 1 | 1ull << 19 | 1ull << 20 | 1ull << 21 | 1ull << 39 | 1ull << 40;
    EXPECT_EQ(io, expected);
    EXPECT_EQ(xcvr, 0x5u);
    EXPECT_EQ(Firmware.Requests[0].Payload, Bytes(REQUEST_LEN_HSMC_LOOPBACK, 0));

    // Every bit of every word set: only the 41 IO and 8 transceiver signals show.
    Firmware.Reply = [](const TRequest&)
    {
        Bytes reply{0};
        for (int i = 0; i < 4; ++i)
            AppendU32(reply, 0xFFFFFFFFu);
        return Reply(reply);
    };
    ASSERT_TRUE(Board.HsmcLoopbackTest(ok, io, xcvr));
    EXPECT_EQ(io, (1ull << 41) - 1);
    EXPECT_EQ(xcvr, 0xFFu);

    Firmware.Reply = [](const TRequest&) { return Reply(Bytes(REPLY_LEN_HSMC_LOOPBACK, 2)); };
    ASSERT_TRUE(Board.HsmcLoopbackTest(ok, io, xcvr));
    EXPECT_FALSE(ok);
    EXPECT_EQ(io, 0u);
    EXPECT_EQ(xcvr, 0u);
}

TEST_F(BoardCommandsTest, SdCardQueryReportsPresenceAndFileSystem)
{
    uint8_t status = 0;
    uint8_t fileSystem = 2;
    Firmware.Reply = [&](const TRequest&)
    {
        Bytes reply(REPLY_LEN_SDCARD_INFO, 0);
        reply[0] = status;
        reply[1] = 0x40;  // CSD version 2.0
        reply[18] = 0x03; // manufacturer
        reply[35] = fileSystem;
        reply[36] = 7;
        return Reply(reply);
    };
    bool present = false, flag = false;
    QString csd, cid, fs;
    ASSERT_TRUE(Board.QuerySDCardInfo(present, csd, cid, fs, flag));
    EXPECT_TRUE(present);
    EXPECT_TRUE(flag);
    EXPECT_EQ(fs, QStringLiteral("FAT32"));
    EXPECT_TRUE(csd.startsWith(QStringLiteral("-CSD Version 2.0\n")));
    EXPECT_TRUE(cid.startsWith(QStringLiteral("-Manufacturer ID:03h\n")));

    fileSystem = 1;
    ASSERT_TRUE(Board.QuerySDCardInfo(present, csd, cid, fs, flag));
    EXPECT_EQ(fs, QStringLiteral("FAT16"));
    fileSystem = 9;
    ASSERT_TRUE(Board.QuerySDCardInfo(present, csd, cid, fs, flag));
    EXPECT_EQ(fs, QStringLiteral("NA"));

    status = 1;
    ASSERT_TRUE(Board.QuerySDCardInfo(present, csd, cid, fs, flag));
    EXPECT_FALSE(present);
    EXPECT_EQ(fs, QStringLiteral("NA"));
}

TEST_F(BoardCommandsTest, BoardNameIsBoundedAndAnEmptyNameKeepsTheOldOne)
{
    Bytes name(BOARD_NAME_TEXT_LEN, 0);
    uint8_t status = 0;
    Firmware.Reply = [&](const TRequest&)
    {
        Bytes reply{status};
        reply.insert(reply.end(), name.begin(), name.end());
        return Reply(reply);
    };
    QString result = QStringLiteral("old");
    ASSERT_TRUE(Board.QueryBoardName(result));
    EXPECT_EQ(result, QStringLiteral("old"));

    std::memcpy(name.data(), "HX9", 3);
    ASSERT_TRUE(Board.QueryBoardName(result));
    EXPECT_EQ(result, QStringLiteral("HX9"));

    name.assign(BOARD_NAME_TEXT_LEN, 'Z'); // no NUL at all
    ASSERT_TRUE(Board.QueryBoardName(result));
    EXPECT_EQ(result, QString(BOARD_NAME_TEXT_LEN, QLatin1Char('Z')));

    status = 1;
    result = QStringLiteral("old");
    EXPECT_FALSE(Board.QueryBoardName(result));
    EXPECT_EQ(result, QStringLiteral("old"));
}

TEST_F(BoardCommandsTest, SmallCommandsCarryTheirArguments)
{
    AnswerStatus(0);
    EXPECT_TRUE(Board.SetSeg7(0x4321, 0));
    bool ok = false;
    EXPECT_TRUE(Board.DeviceControl(ok, DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN, 8));
    EXPECT_TRUE(ok);
    ASSERT_EQ(Firmware.Requests.size(), 2u);
    EXPECT_EQ(Firmware.Requests[0].Command, CMD_SET_SEG7);
    EXPECT_EQ(Firmware.Requests[0].Payload, (Bytes{0x21, 0x43, 0, 0, 0}));
    EXPECT_EQ(Firmware.Requests[1].Command, CMD_DEVICE_CONTROL);
    EXPECT_EQ(Firmware.Requests[1].Payload, (Bytes{DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN, 8}));

    AnswerStatus(4);
    EXPECT_FALSE(Board.SetLED(1));
    // A refusal by the firmware is still a sound exchange; a missing reply is not.
    EXPECT_TRUE(Board.LastExchangeWorked());
    EXPECT_TRUE(Board.DeviceControl(ok, DEVICE_UART_USB, DEVICE_ACTION_START, 0));
    EXPECT_FALSE(ok);
    Firmware.Reply = [](const TRequest&) { return Reply(); };
    EXPECT_FALSE(Board.SetLED(1));
    EXPECT_FALSE(Board.LastExchangeWorked());
}

TEST_F(BoardCommandsTest, KeepAlivePingsFiveTimesOnlyAfterTwoIdleMinutes)
{
    AnswerStatus(0);
    const uint32_t connected = Board.LastActivityTick();

    Fake->SetNow(connected + 10000);
    EXPECT_TRUE(Board.KeepAlive());
    EXPECT_EQ(Firmware.Requests.size(), 1u);

    Firmware.Requests.clear();
    Fake->SetNow(Board.LastActivityTick() + KEEP_ALIVE_IDLE_MS + 1000);
    EXPECT_TRUE(Board.KeepAlive());
    EXPECT_EQ(Firmware.Requests.size(), 5u);
    EXPECT_EQ(Board.LastActivityTick(), Fake->Now());

    // The second ping fails: the walk stops there and the failure is the result.
    Firmware.Requests.clear();
    Firmware.Reply = [this](const TRequest&)
    { return Reply(Bytes{static_cast<uint8_t>(Firmware.Requests.size() == 2 ? 1 : 0)}); };
    Fake->SetNow(Board.LastActivityTick() + KEEP_ALIVE_IDLE_MS + 1000);
    EXPECT_FALSE(Board.KeepAlive());
    EXPECT_EQ(Firmware.Requests.size(), 2u);
    EXPECT_EQ(Board.LastActivityTick(), Fake->Now());
}

TEST_F(BoardCommandsTest, KeepAliveMeasuresIdleTimeAcrossATickWrap)
{
    AnswerStatus(0);
    Fake->SetNow(0xFFFFF000u);
    ASSERT_TRUE(Board.KeepAlive());
    Firmware.Requests.clear();

    Fake->SetNow(0x00001000u); // 8 s later, through zero
    EXPECT_TRUE(Board.KeepAlive());
    EXPECT_EQ(Firmware.Requests.size(), 1u);

    // About 17 minutes idle, with the counter wrapped in between.
    Fake->SetNow(0xFFF00000u);
    ASSERT_TRUE(Board.KeepAlive());
    Firmware.Requests.clear();
    Fake->SetNow(0x00000010u);
    EXPECT_TRUE(Board.KeepAlive());
    EXPECT_EQ(Firmware.Requests.size(), 5u);

    Firmware.Requests.clear();
    Fake->SetNow(Board.LastActivityTick() + KEEP_ALIVE_IDLE_MS); // exactly 2 min: not more
    EXPECT_TRUE(Board.KeepAlive());
    EXPECT_EQ(Firmware.Requests.size(), 1u);
}
} // namespace

namespace
{
// Every output of the four queries, each holding a value no reply would give.
struct TQueryOutputs
{
    bool Present = true;
    QString Csd = QStringLiteral("csd"), Cid = QStringLiteral("cid"), Fs = QStringLiteral("fs");
    bool Flag = true;
    bool Ok = true;
    uint64_t Io = 0x1234;
    uint32_t Xcvr = 0x56;
    uint32_t State = 0xBEEF;
    int32_t Count = -7;
    std::array<uint8_t, UART_BLOCK_LEN> Data = MakeData();

    static std::array<uint8_t, UART_BLOCK_LEN> MakeData()
    {
        std::array<uint8_t, UART_BLOCK_LEN> data;
        data.fill(0xEE);
        return data;
    }
    bool operator==(const TQueryOutputs&) const = default;
};
} // namespace

TEST_F(BoardCommandsTest, QueriesLeaveTheirOutputsAloneWhenTheBoardFails)
{
    using TChange = std::function<void(TQueryOutputs&)>;
    const TChange nothing = [](TQueryOutputs&) {};
    const struct
    {
        const char* Name;
        uint8_t Command;
        uint32_t ReplyLength;
        std::function<bool(TBoard&, TQueryOutputs&)> Query;
        TChange Silent; // what a silent board changes
        bool StatusResult;
        TChange Status; // what a status-1 reply changes
    } cases[] = {
        {"SD card", CMD_QUERY_SDCARD_INFO, REPLY_LEN_SDCARD_INFO,
         [](TBoard& b, TQueryOutputs& o)
         { return b.QuerySDCardInfo(o.Present, o.Csd, o.Cid, o.Fs, o.Flag); },
         nothing, true, [](TQueryOutputs& o) { o.Present = false; }},
        {"HSMC", CMD_HSMC_LOOPBACK_TEST, REPLY_LEN_HSMC_LOOPBACK,
         [](TBoard& b, TQueryOutputs& o) { return b.HsmcLoopbackTest(o.Ok, o.Io, o.Xcvr); },
         nothing, true, [](TQueryOutputs& o) { o.Ok = false, o.Io = 0, o.Xcvr = 0; }},
        {"keys and switches", CMD_QUERY_BUTTON_SWITCH, REPLY_LEN_BUTTON_SWITCH,
         [](TBoard& b, TQueryOutputs& o) { return b.QueryButtonSwitch(o.State); }, nothing, false,
         nothing},
        {"UART read", CMD_UART_READ, REPLY_LEN_UART_READ,
         [](TBoard& b, TQueryOutputs& o)
         { return b.UartRead(o.Ok, DEVICE_UART_USB, o.Count, o.Data.data()); },
         [](TQueryOutputs& o) { o.Ok = false; }, true, [](TQueryOutputs& o) { o.Ok = false; }},
    };
    for (const auto& c : cases)
    {
        // Silent: no reply at all.
        Firmware.Reply = [](const TRequest&) { return Reply(); };
        TQueryOutputs outputs, expected;
        EXPECT_FALSE(c.Query(Board, outputs)) << c.Name;
        c.Silent(expected);
        EXPECT_TRUE(outputs == expected) << c.Name << ": a silent board changed an output";

        // Status 1 with every other reply byte 1, so any byte taken over would show.
        Firmware.Reply = [&c](const TRequest& r)
        {
            EXPECT_EQ(r.Command, c.Command);
            return Reply(Bytes(c.ReplyLength, 1));
        };
        outputs = expected = TQueryOutputs{};
        EXPECT_EQ(c.Query(Board, outputs), c.StatusResult) << c.Name;
        c.Status(expected);
        EXPECT_TRUE(outputs == expected) << c.Name << ": a status-1 reply changed an output";
    }
}
