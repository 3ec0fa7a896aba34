// Random replies through the whole exchange and random registers through the reports:
// nothing may read or write outside its buffer (ASan watches), and only a well-formed
// reply may succeed.
#include "board/SDCardReport.h"
#include "tests/board/BoardFixture.h"

#include <QStringList>
#include <random>

namespace
{
using Bytes = std::vector<uint8_t>;

constexpr int TRANSACT_ROUNDS = 3000;
constexpr int REGISTER_ROUNDS = 20000;
constexpr size_t GUARD = 16;

bool IsValidReply(const Bytes& bytes, uint8_t command, uint32_t expected)
{
    if (bytes.size() < expected + PKT_FRAME_OVERHEAD)
        return false;
    const Bytes frame(bytes.begin(), bytes.begin() + expected + PKT_FRAME_OVERHEAD);
    return frame[1] == command && frame[2] + (frame[3] << 8) == static_cast<int>(expected) &&
           MakeFrame(command, Bytes(frame.begin() + 4, frame.end() - 2)) == frame;
}

TEST_F(BoardTest, RandomRepliesNeverOverrunAndOnlyGoodFramesPass)
{
    ConnectBoard();
    Fake->SetReadCost(700); // keep the fake time limits to a few calls each
    std::mt19937 random(0x48583921);
    Bytes reply;
    Firmware.Reply = [&](const TRequest&)
    {
        Fake.Queue(reply);
        return std::nullopt;
    };
    int passed = 0;
    for (int round = 0; round < TRANSACT_ROUNDS; ++round)
    {
        const uint8_t command = static_cast<uint8_t>(random() % 64);
        const uint32_t expected = random() % 48;
        switch (random() % 3)
        {
        case 0: // random bytes
            reply.resize(random() % 64);
            for (auto& b : reply)
                b = static_cast<uint8_t>(random());
            break;
        default: // a frame with a few bytes changed, cut or lengthened
        {
            Bytes payload(random() % 2 ? expected : random() % 48);
            for (auto& b : payload)
                b = static_cast<uint8_t>(random());
            reply = MakeFrame(command, payload);
            for (uint32_t flips = random() % 3; flips > 0; --flips)
                reply[random() % reply.size()] = static_cast<uint8_t>(random());
            if (random() % 4 == 0)
                reply.resize(random() % (reply.size() + 8));
        }
        }
        Bytes buffer(expected + GUARD, 0xEE);
        const bool ok =
            Board.Transact(command, buffer.data(), REPLY_HEADER_LIMIT_MS, 0, nullptr, expected);
        ASSERT_EQ(ok, IsValidReply(reply, command, expected)) << "round " << round;
        ASSERT_TRUE(std::all_of(buffer.begin() + expected, buffer.end(),
                                [](uint8_t b) { return b == 0xEE; }))
            << "round " << round;
        if (ok)
        {
            ++passed;
            ASSERT_TRUE(std::equal(buffer.begin(), buffer.begin() + expected, reply.begin() + 4));
        }
    }
    EXPECT_GT(passed, TRANSACT_ROUNDS / 20); // the success path is exercised too
}

TEST(SDCardReportFuzzTest, RandomRegistersGiveWellFormedReports)
{
    std::mt19937 random(0x5DCA4D);
    std::array<uint8_t, SD_REGISTER_LEN> reg{};
    for (int round = 0; round < REGISTER_ROUNDS; ++round)
    {
        for (auto& b : reg)
            b = static_cast<uint8_t>(random());
        const QString cid = FormatCID(reg);
        const QString csd = FormatCSD(reg);
        ASSERT_EQ(cid.count(QLatin1Char('\n')), 6);
        const QStringList lines = csd.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 3);
        ASSERT_LE(lines.size(), 7);
        ASSERT_TRUE(csd.endsWith(QLatin1Char('\n')));
        for (const QString& line : lines)
            ASSERT_TRUE(line.startsWith(QLatin1Char('-'))) << line.toStdString();
        ASSERT_FALSE(csd.contains(QLatin1Char('\0')));
        ASSERT_FALSE(cid.contains(QLatin1Char('\0')));
    }
}
} // namespace
