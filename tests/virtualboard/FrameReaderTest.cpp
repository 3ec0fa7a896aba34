#include "tests/virtualboard/FirmwareTestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace
{

using namespace vboard;
using vboardtest::Concat;
using vboardtest::Frame;
using vboardtest::Le32;

struct TFed
{
    std::vector<std::vector<uint8_t>> Replies;
};

// Feeds stream in pieces of the given sizes (the rest in one piece) and collects replies.
TFed Feed(TFirmware& firmware, const std::vector<uint8_t>& stream,
          const std::vector<size_t>& pieces = {})
{
    TFed fed;
    size_t at = 0;
    for (size_t piece : pieces)
    {
        const size_t n = std::min(piece, stream.size() - at);
        for (auto& r : firmware.Receive(stream.data() + at, n))
            fed.Replies.push_back(std::move(r));
        at += n;
    }
    for (auto& r : firmware.Receive(stream.data() + at, stream.size() - at))
        fed.Replies.push_back(std::move(r));
    return fed;
}

std::vector<uint8_t> Codes(const TFed& fed)
{
    std::vector<uint8_t> codes;
    for (const auto& r : fed.Replies)
        codes.push_back(r[1]);
    return codes;
}

TEST(FrameReader, AnySplitOfTheStreamGivesTheSameReplies)
{
    const std::vector<uint8_t> stream =
        Concat({Frame(CMD_PING), Frame(CMD_SET_LED, Le32(0x155)), Frame(CMD_QUERY_BOARD_NAME)});
    TFirmware whole;
    const TFed expected = Feed(whole, stream);
    ASSERT_EQ(expected.Replies.size(), 3u);

    TFirmware byteByByte;
    std::vector<size_t> ones(stream.size(), 1);
    EXPECT_EQ(Feed(byteByByte, stream, ones).Replies, expected.Replies);

    TFirmware odd;
    EXPECT_EQ(Feed(odd, stream, {3, 1, 7, 2}).Replies, expected.Replies);
    EXPECT_EQ(odd.Outputs().Leds, 0x155u);
}

TEST(FrameReader, JunkAndBrokenFramesAreDroppedAndTheNextFrameIsAnswered)
{
    std::vector<uint8_t> badChecksum = Frame(CMD_SET_LED, Le32(0xFF));
    badChecksum[badChecksum.size() - 2] ^= 0x01;
    std::vector<uint8_t> badEnd = Frame(CMD_SET_LED, Le32(0xFF));
    badEnd.back() = 0x56;
    const std::vector<uint8_t> tooLong = {0xAA, CMD_PING, 0xFF, 0xFF}; // above the largest request
    const std::vector<uint8_t> junk = {0x00, 0x55, 0x13, 0xFE};

    TFirmware firmware;
    const std::vector<uint8_t> stream = Concat({junk, Frame(CMD_PING), badChecksum, junk, badEnd,
                                                tooLong, Frame(CMD_QUERY_BOARD_NAME), junk});
    const TFed fed = Feed(firmware, stream);
    EXPECT_EQ(Codes(fed), (std::vector<uint8_t>{CMD_PING, CMD_QUERY_BOARD_NAME}));
    EXPECT_EQ(firmware.Outputs().Leds, LED_MASK) << "a broken frame must not be acted on";
    EXPECT_EQ(firmware.Reader().PendingBytes(), 0u);
    EXPECT_EQ(firmware.Reader().DroppedBytes(),
              2 * junk.size() + badChecksum.size() + badEnd.size() + tooLong.size() + junk.size());
}

TEST(FrameReader, AFrameHiddenBehindABrokenOnesStartIsFound)
{
    // A corrupted frame whose payload holds a whole valid frame: after the bad checksum the
    // reader resynchronises inside it.
    const std::vector<uint8_t> inner = Frame(CMD_SET_LED, Le32(0x3));
    std::vector<uint8_t> outer = Frame(CMD_MEMORY_WRITE, Concat({{MEM_TYPE_SRAM}, Le32(0), inner}));
    outer[outer.size() - 2] ^= 0xFF;
    TFirmware firmware;
    const TFed fed = Feed(firmware, outer);
    EXPECT_EQ(Codes(fed), std::vector<uint8_t>{CMD_SET_LED});
    EXPECT_EQ(firmware.Outputs().Leds, 0x3u);
}

TEST(FrameReader, ATruncatedFrameIsGivenUpAndWhatFollowsIsStillAnswered)
{
    // A truncated memory write claims 1000 bytes; a ping follows inside that span.
    std::vector<uint8_t> truncated = Frame(CMD_MEMORY_WRITE, std::vector<uint8_t>(1000, 0));
    truncated.resize(20);
    TFirmware firmware;
    const std::vector<uint8_t> stream = Concat({truncated, Frame(CMD_PING)});
    EXPECT_TRUE(Feed(firmware, stream).Replies.empty()) << "still waiting for the long frame";
    EXPECT_GT(firmware.Reader().PendingBytes(), 0u);

    const auto replies = firmware.DiscardIncomplete();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0][1], CMD_PING);
    EXPECT_EQ(firmware.Reader().PendingBytes(), 0u);
    EXPECT_EQ(Codes(Feed(firmware, Frame(CMD_PING))), std::vector<uint8_t>{CMD_PING});
}

// Frames mixed with junk, corrupted and truncated frames, fed in random splits: every
// intact frame is answered in order, nothing else is, and every reply is well-formed.
TEST(FrameReader, FuzzedStreamsAnswerExactlyTheIntactFrames)
{
    std::mt19937 random(20240611);
    auto byte = [&]
    {
        uint8_t b = static_cast<uint8_t>(random());
        return b == PKT_START_MARK ? uint8_t{0} : b; // start marks only where frames begin
    };
    for (int round = 0; round < 40; ++round)
    {
        std::vector<uint8_t> stream;
        std::vector<uint8_t> intactCodes;
        for (int part = 0; part < 60; ++part)
        {
            std::vector<uint8_t> payload(random() % 3 == 0 ? random() % 2000 : random() % 12);
            for (auto& b : payload)
                b = byte();
            const uint8_t code = static_cast<uint8_t>(random() % 256);
            std::vector<uint8_t> frame = Frame(code, payload);
            switch (random() % 5)
            {
            case 0: // junk
                frame.assign(random() % 50, 0);
                for (auto& b : frame)
                    b = byte();
                break;
            case 1: // corrupted checksum or end mark
                frame[frame.size() - 1 - random() % 2] ^= static_cast<uint8_t>(1 + random() % 255);
                break;
            case 2: // truncated
                frame.resize(1 + random() % (frame.size() - 1));
                break;
            default:
                intactCodes.push_back(code);
            }
            stream.insert(stream.end(), frame.begin(), frame.end());
        }
        std::vector<size_t> pieces;
        for (size_t total = 0; total < stream.size();)
        {
            pieces.push_back(1 + random() % 3000);
            total += pieces.back();
        }
        TFirmware firmware;
        TFed fed = Feed(firmware, stream, pieces);
        for (auto& r : firmware.DiscardIncomplete())
            fed.Replies.push_back(std::move(r));
        for (const auto& reply : fed.Replies)
            ASSERT_TRUE(IsWellFormedFrame(reply.data(), reply.size()));
        EXPECT_EQ(Codes(fed), intactCodes) << "round " << round;
    }
}

// Entirely random bytes, start marks included: no crash, and only well-formed replies.
TEST(FrameReader, RandomBytesNeverProduceAnythingButWellFormedFrames)
{
    std::mt19937 random(77);
    for (int round = 0; round < 30; ++round)
    {
        TFirmware firmware;
        std::vector<uint8_t> stream(20000 + random() % 40000);
        for (auto& b : stream)
            b = static_cast<uint8_t>(random() % 4 == 0 ? PKT_START_MARK : random());
        for (size_t at = 0; at < stream.size();)
        {
            const size_t n = std::min<size_t>(1 + random() % 500, stream.size() - at);
            for (const auto& reply : firmware.Receive(stream.data() + at, n))
                ASSERT_TRUE(IsWellFormedFrame(reply.data(), reply.size()));
            at += n;
        }
        for (const auto& reply : firmware.DiscardIncomplete())
            ASSERT_TRUE(IsWellFormedFrame(reply.data(), reply.size()));
        EXPECT_EQ(firmware.Reader().PendingBytes(), 0u);
    }
}

} // namespace
