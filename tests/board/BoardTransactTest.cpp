#include "tests/board/BoardFixture.h"

#include <array>
#include <cstring>

namespace
{
using Bytes = std::vector<uint8_t>;

TEST_F(BoardTest, PingAndLedRequestsHaveTheirExactBytes)
{
    ConnectBoard();
    AnswerStatus(0);
    EXPECT_TRUE(Board.Ping());
    EXPECT_TRUE(Board.SetLED(0x3FFFF));
    EXPECT_EQ(Fake.Written(), (Bytes{0xAA, 0x01, 0x00, 0x00, 0x01, 0x55, 0xAA, 0x05, 0x04, 0x00,
                                     0xFF, 0xFF, 0x03, 0x00, 0x0A, 0x55}));
    EXPECT_EQ(Fake->WriteSize(0), 6u);
    EXPECT_EQ(Fake->WriteSize(1), 10u);
    EXPECT_EQ(Host.Beeps, 0);
}

TEST_F(BoardTest, StatusOnlyReplyYieldsItsPayloadByte)
{
    ConnectBoard();
    Firmware.Reply = [this](const TRequest&)
    {
        Fake.Queue({0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0x55});
        return std::nullopt;
    };
    uint8_t reply = 0xEE;
    EXPECT_TRUE(Board.Transact(CMD_PING, &reply, REPLY_HEADER_LIMIT_MS, 0, nullptr, 1));
    EXPECT_EQ(reply, 0x00);
}

TEST_F(BoardTest, StaleInputIsDrainedBeforeTheRequest)
{
    ConnectBoard();
    Fake.Queue(MakeFrame(CMD_PING, {0x07})); // an old reply nobody read
    AnswerStatus(0);
    EXPECT_TRUE(Board.Ping());
    EXPECT_EQ(Fake->Pending(), 0u);
}

TEST_F(BoardTest, WrongEchoFailsQuietlyAndDrains)
{
    ConnectBoard();
    Firmware.Reply = [this](const TRequest&)
    {
        Fake.Queue(MakeFrame(CMD_SET_LED, {0x00}));
        return std::nullopt;
    };
    EXPECT_FALSE(Board.Ping());
    EXPECT_EQ(Host.Beeps, 0);
    EXPECT_EQ(Fake->Pending(), 0u);
}

TEST_F(BoardTest, WrongLengthFailsWithoutBeepOrDrain)
{
    ConnectBoard();
    AnswerStatus(0); // 1 payload byte where the name query expects 33
    QString name = QStringLiteral("kept");
    EXPECT_FALSE(Board.QueryBoardName(name));
    EXPECT_EQ(name, QStringLiteral("kept"));
    EXPECT_EQ(Host.Beeps, 0);
    EXPECT_EQ(Fake->Pending(), 3u); // status, checksum, end mark left for the next drain
}

TEST_F(BoardTest, DamagedFrameBeepsAndLeavesTheReplyBufferUntouched)
{
    ConnectBoard();
    for (const size_t damaged : {size_t{5}, size_t{6}}) // checksum, then end mark
    {
        Firmware.Reply = [this, damaged](const TRequest&)
        {
            Bytes frame = MakeFrame(CMD_PING, {0x00});
            frame[damaged] ^= 0x10;
            Fake.Queue(frame);
            return std::nullopt;
        };
        const int beepsBefore = Host.Beeps;
        uint8_t reply = 0xEE;
        EXPECT_FALSE(Board.Transact(CMD_PING, &reply, REPLY_HEADER_LIMIT_MS, 0, nullptr, 1));
        EXPECT_EQ(reply, 0xEE);
        EXPECT_EQ(Host.Beeps, beepsBefore + 1);
    }
}

TEST_F(BoardTest, HeaderIsAcceptedUntilOneReadPastTheLimit)
{
    ConnectBoard();
    // The limit is checked between 3000 ms reads: a header at 5000 ms still counts,
    // one at 7000 ms does not.
    for (const uint32_t delay : {5000u, 7000u})
    {
        Firmware.Reply = [this, delay](const TRequest&)
        {
            Fake.QueueAfter(delay, MakeFrame(CMD_PING, {0x00}));
            return std::nullopt;
        };
        const uint32_t start = Fake->Now();
        EXPECT_EQ(Board.Ping(), delay == 5000u) << delay;
        if (delay == 7000u)
        {
            EXPECT_EQ(Host.Beeps, 0);
            EXPECT_LE(Fake->Now() - start, 6000u + 2 * DRAIN_READ_LIMIT_MS + 2);
        }
    }
}

TEST_F(BoardTest, SdCardQueryWaitsLongerForItsHeaderThanOtherCommands)
{
    ConnectBoard();
    // A header after 9 s: inside the SD query's own limit, far past everyone else's.
    constexpr uint32_t DELAY_MS = 9000;
    const struct
    {
        uint8_t Command;
        Bytes Reply;
        bool Accepted;
    } cases[] = {
        {CMD_QUERY_SDCARD_INFO, Bytes(REPLY_LEN_SDCARD_INFO, 1), true},
        {CMD_PING, Bytes{0}, false},
    };
    for (const auto& c : cases)
    {
        Firmware.Reply = [this, &c](const TRequest&)
        {
            Fake.QueueAfter(DELAY_MS, MakeFrame(c.Command, c.Reply));
            return std::nullopt;
        };
        bool present = true, flag = false;
        QString csd, cid, fs;
        const bool ok = c.Command == CMD_PING ? Board.Ping()
                                              : Board.QuerySDCardInfo(present, csd, cid, fs, flag);
        EXPECT_EQ(ok, c.Accepted) << int(c.Command);
    }
}

TEST_F(BoardTest, RestOfTheReplyHasItsOwnLimitWhateverTheHeaderLimit)
{
    ConnectBoard();
    const Bytes frame = MakeFrame(CMD_QUERY_SDCARD_INFO, Bytes(REPLY_LEN_SDCARD_INFO, 1));
    for (const uint32_t restDelay : {2000u, 6500u})
    {
        Firmware.Reply = [this, &frame, restDelay](const TRequest&)
        {
            Fake.Queue(Bytes(frame.begin(), frame.begin() + 4));
            Fake.QueueAfter(restDelay, Bytes(frame.begin() + 4, frame.end()));
            return std::nullopt;
        };
        bool present = false, flag = false;
        QString csd, cid, fs;
        const int beepsBefore = Host.Beeps;
        EXPECT_EQ(Board.QuerySDCardInfo(present, csd, cid, fs, flag), restDelay == 2000u);
        EXPECT_EQ(Host.Beeps, beepsBefore + (restDelay == 2000u ? 0 : 1));
    }
}

TEST_F(BoardTest, WriteFailureBeepsAndReadsNothing)
{
    ConnectBoard();
    Fake->FailWrites(1);
    const uint32_t readsBefore = Fake.Counters().Reads;
    AnswerStatus(0);
    EXPECT_FALSE(Board.Ping());
    EXPECT_EQ(Host.Beeps, 1);
    // Only the drain's single empty read ran.
    EXPECT_EQ(Fake.Counters().Reads, readsBefore + 1);
    EXPECT_TRUE(Board.IsConnected());
}

TEST_F(BoardTest, DrainStopsAfter1002BytesOfAnEndlessStream)
{
    ConnectBoard();
    Fake->SetEndless(0x33);
    Board.DrainInput();
    EXPECT_EQ(Fake.Counters().BytesDelivered, 1002u);
}

TEST_F(BoardTest, LargestRequestGoesOutInOneWrite)
{
    ConnectBoard();
    AnswerStatus(0);
    const Bytes payload(32748, 0x5C);
    uint8_t status = 0xEE;
    EXPECT_TRUE(
        Board.Transact(CMD_MEMORY_WRITE, &status, REPLY_HEADER_LIMIT_MS, 32748, payload.data(), 1));
    EXPECT_EQ(Fake->WriteSize(0), 32754u);
    ASSERT_EQ(Firmware.Requests.size(), 1u);
    EXPECT_EQ(Firmware.Requests[0].Payload, payload);
    EXPECT_EQ(Firmware.BadFrames, 0);
}

TEST_F(BoardTest, TransactWithoutAPortFailsWithABeepAndNoLibraryCall)
{
    uint8_t reply = 0xEE;
    EXPECT_FALSE(Board.Transact(CMD_PING, &reply, REPLY_HEADER_LIMIT_MS, 0, nullptr, 1));
    EXPECT_FALSE(Board.Ping());
    Board.DrainInput();
    EXPECT_EQ(reply, 0xEE);
    EXPECT_EQ(Host.Beeps, 2);
    const auto counters = Fake.Counters();
    EXPECT_EQ(counters.Opens + counters.Writes + counters.Reads, 0u);
}

TEST_F(BoardTest, ProgrammingErrorsStopTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ConnectBoard();
    const Bytes payload(32749, 0);
    uint8_t reply = 0;
    EXPECT_DEATH(
        Board.Transact(CMD_MEMORY_WRITE, &reply, REPLY_HEADER_LIMIT_MS, 32749, payload.data(), 1),
        "dwPayloadLen <= PKT_PC2NIOS_MAX_PL_LEN");
    EXPECT_DEATH(Board.Transact(CMD_PING, nullptr, REPLY_HEADER_LIMIT_MS, 0, nullptr, 1),
                 "pReturnBuffer");
    // No reply is longer than a memory read's status and 32747 bytes.
    Bytes room(32749);
    EXPECT_DEATH(
        Board.Transact(CMD_MEMORY_READ, room.data(), REPLY_HEADER_LIMIT_MS, 0, nullptr, 32749),
        "replyPayloadLen <= PKT_NIOS2PC_MAX_PL_LEN");
}

TEST_F(BoardTest, ChecksumAndFrameCheck)
{
    EXPECT_EQ(TBoard::Checksum(nullptr, 0), 0);
    const std::array<uint8_t, 3> wrapping{0xFF, 0x02, 0x10};
    EXPECT_EQ(TBoard::Checksum(wrapping.data(), 3), 0x11);

    Bytes frame = MakeFrame(CMD_SET_SEG7, {1, 2, 3});
    EXPECT_TRUE(TBoard::VerifyFrame(frame.data(), static_cast<uint32_t>(frame.size())));
    EXPECT_FALSE(TBoard::VerifyFrame(frame.data(), static_cast<uint32_t>(frame.size() - 1)));
    frame[0] = 0xAB;
    EXPECT_FALSE(TBoard::VerifyFrame(frame.data(), static_cast<uint32_t>(frame.size())));
}

TEST_F(BoardTest, ConnectTakesTheNameFromTheInfoRecord)
{
    // A name that fills the record to its end without a NUL is cut at the record's end.
    std::vector<uint8_t> record(JTAG_INFO_SIZE, 'N');
    Fake->SetInfo(1, record.data(), static_cast<uint32_t>(record.size()));
    ConnectBoard();
    EXPECT_EQ(Board.BoardName(), QString(JTAG_INFO_SIZE - JTAG_INFO_NAME_OFFSET, QLatin1Char('N')));
    EXPECT_EQ(Board.LastActivityTick(), Fake->Now());

    record.assign(JTAG_INFO_SIZE, 0);
    std::memcpy(&record[JTAG_INFO_NAME_OFFSET], "USB-Blaster", 11);
    Fake->SetInfo(1, record.data(), static_cast<uint32_t>(record.size()));
    ConnectBoard();
    EXPECT_EQ(Board.BoardName(), QStringLiteral("USB-Blaster"));
    // The second connect closed the first link before opening a fresh one.
    EXPECT_EQ(Fake.Counters().Opens, 2u);
    EXPECT_EQ(Fake.Counters().Closes, 1u);

    Fake->SetInfo(0, record.data(), 0);
    ConnectBoard();
    EXPECT_TRUE(Board.BoardName().isEmpty());

    Board.Disconnect();
    EXPECT_FALSE(Board.IsConnected());
    EXPECT_EQ(Fake.Counters().Closes, 3u);
}

TEST_F(BoardTest, RefusedLinkGivesTheConnectErrorAndNoPort)
{
    Fake->SetOpenHandle(0);
    QString error;
    EXPECT_FALSE(Board.Connect(error, 0));
    EXPECT_EQ(error, QStringLiteral("Fail to connect FPGA borad."));
    EXPECT_FALSE(Board.IsConnected());
    EXPECT_TRUE(Board.BoardName().isEmpty());
    EXPECT_FALSE(Board.Ping());
}

TEST_F(BoardTest, LockMayBeTakenAgainByItsHolder)
{
    std::lock_guard outer(Board.Lock());
    ASSERT_TRUE(Board.Lock().try_lock());
    Board.Lock().unlock();
}
} // namespace
