#include "tests/transfer/FakeMemoryLink.h"

#include "board/Board.h"
#include "transfer/MemoryTransfer.h"
#include "transfer/MemoryType.h"

#include <gtest/gtest.h>
#include <numeric>

namespace
{

// Hands out a counting byte pattern; optionally fails after some bytes.
class TPatternSource : public TByteSource
{
public:
    bool ReadBytes(uint8_t* buffer, uint32_t count) override
    {
        if (FailAfter >= 0 && Given + count > static_cast<uint64_t>(FailAfter))
            return false;
        for (uint32_t i = 0; i < count; ++i)
            buffer[i] = static_cast<uint8_t>(Given + i);
        Given += count;
        return true;
    }
    uint64_t Given = 0;
    int64_t FailAfter = -1;
};

class TCountingSink : public TByteSink
{
public:
    bool WriteBytes(const uint8_t* bytes, uint32_t count) override
    {
        Bytes += count;
        Largest = std::max(Largest, count);
        if (Keep)
            Data.insert(Data.end(), bytes, bytes + count);
        return true;
    }
    uint64_t Bytes = 0;
    uint32_t Largest = 0;
    bool Keep = false;
    std::vector<uint8_t> Data;
};

std::vector<uint32_t> WriteLengths(const TFakeMemoryLink& link)
{
    std::vector<uint32_t> out;
    for (const auto& c : link.Of('W'))
        out.push_back(c.Length);
    return out;
}

} // namespace

TEST(MemoryTransfer, ChunkSizesFollowTheTwentiethRule)
{
    EXPECT_EQ(WriteChunkSize(0x10000), 3276u);
    EXPECT_EQ(WriteChunkSize(5), 5u);           // below 20 bytes: one chunk
    EXPECT_EQ(WriteChunkSize(0x80000), 26214u); // under the exchange limit
    EXPECT_EQ(WriteChunkSize(0x20000000), MEMORY_WRITE_CHUNK);
    EXPECT_EQ(ReadChunkSize(0x20000000), 26843545u); // reads have no upper limit
    EXPECT_EQ(ReadChunkSize(19), 19u);
}

TEST(MemoryTransfer, WriteSendsAKeepAliveBeforeTheFirstAndEveryChunk)
{
    TFakeMemoryLink link(0x20000);
    TRecordingProgress progress;
    TPatternSource source;
    const auto result =
        WriteMemoryWithProgress(link, progress, MEM_TYPE_SRAM, 0x100, 0x10000, source);

    ASSERT_EQ(result.Result, TOpResult::Done);
    EXPECT_EQ(result.BytesMoved, 0x10000u);
    // 20 chunks of 3276 bytes and one of 16, each after its own keep-alive.
    std::vector<uint32_t> expected(20, 3276);
    expected.push_back(16);
    EXPECT_EQ(WriteLengths(link), expected);
    ASSERT_EQ(link.Calls.size(), 1 + 2 * expected.size());
    EXPECT_EQ(link.Calls[0].Kind, 'K');
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(link.Calls[1 + 2 * i].Kind, 'K');
        EXPECT_EQ(link.Calls[2 + 2 * i].Kind, 'W');
        EXPECT_EQ(link.Calls[2 + 2 * i].Address, 0x100 + 3276 * i);
        EXPECT_EQ(link.Calls[2 + 2 * i].Type, MEM_TYPE_SRAM);
    }
    // The bytes arrived in order at the right place.
    for (uint32_t i = 0; i < 0x10000; ++i)
        ASSERT_EQ(link.m_Memory[0x100 + i], static_cast<uint8_t>(i)) << i;
}

TEST(MemoryTransfer, ProgressShowsOnlyGrowingPercentages)
{
    TFakeMemoryLink link;
    TRecordingProgress progress;
    TCountingSink sink;
    const auto result =
        ReadMemoryWithProgress(link, progress, MEM_TYPE_LPDDR2, 0, LPDDR2_SIZE_BYTES, sink);

    ASSERT_EQ(result.Result, TOpResult::Done);
    EXPECT_EQ(sink.Bytes, LPDDR2_SIZE_BYTES);
    // 21 chunks: each twentieth falls just short of its multiple of 5, the 12-byte rest ends it.
    const std::vector<int> expected = {4,  9,  14, 19, 24, 29, 34, 39, 44, 49, 54,
                                       59, 64, 69, 74, 79, 84, 89, 94, 99, 100};
    EXPECT_EQ(progress.Percents, expected);
    EXPECT_EQ(progress.Texts.front(), "Process...");
    EXPECT_EQ(progress.Texts.back(), "Finish Percentage: 100%");
    EXPECT_EQ(progress.Polls, 21);
    // Only one keep-alive for a read, and no buffer as large as a chunk.
    EXPECT_EQ(link.Of('K').size(), 1u);
    EXPECT_LE(sink.Largest, READ_BLOCK_EXCHANGES * MEMORY_READ_CHUNK);
}

TEST(MemoryTransfer, ReadBlocksKeepTheExchangesOfOneChunkRead)
{
    // Blocks are whole multiples of the exchange size, so TBoard::MemoryRead splits them
    // exactly as it would split the whole chunk.
    TFakeMemoryLink link;
    TRecordingProgress progress;
    TCountingSink sink;
    ASSERT_EQ(
        ReadMemoryWithProgress(link, progress, MEM_TYPE_LPDDR2, 0, LPDDR2_SIZE_BYTES, sink).Result,
        TOpResult::Done);
    const uint32_t chunk = ReadChunkSize(LPDDR2_SIZE_BYTES);
    uint64_t inChunk = 0;
    for (const auto& c : link.Of('R'))
    {
        const bool lastOfChunk =
            inChunk + c.Length == chunk || c.Address + c.Length == LPDDR2_SIZE_BYTES;
        if (!lastOfChunk)
        {
            ASSERT_EQ(c.Length % MEMORY_READ_CHUNK, 0u) << c.Address;
        }
        inChunk = lastOfChunk ? 0 : inChunk + c.Length;
    }
}

TEST(MemoryTransfer, WholeSramReadMakesTwentyOneChunks)
{
    TFakeMemoryLink link(SRAM_SIZE_BYTES);
    std::iota(link.m_Memory.begin(), link.m_Memory.end(), uint8_t{0});
    TRecordingProgress progress;
    TCountingSink sink;
    sink.Keep = true;
    ASSERT_EQ(
        ReadMemoryWithProgress(link, progress, MEM_TYPE_SRAM, 0, SRAM_SIZE_BYTES, sink).Result,
        TOpResult::Done);
    const auto reads = link.Of('R');
    ASSERT_EQ(reads.size(), 21u);
    EXPECT_EQ(reads.front().Length, 26214u);
    EXPECT_EQ(reads.back().Length, 8u);
    EXPECT_EQ(sink.Data, link.m_Memory);
}

TEST(MemoryTransfer, FirstKeepAliveFailureSendsNothingAndIsNotALinkFailure)
{
    TFakeMemoryLink link;
    link.FailAtCall = 0;
    TRecordingProgress progress;
    TPatternSource source;
    const auto result = WriteMemoryWithProgress(link, progress, MEM_TYPE_SRAM, 0, 100, source);
    EXPECT_EQ(result.Result, TOpResult::LinkFailed);
    EXPECT_FALSE(result.FailedMidway);
    EXPECT_EQ(link.Calls.size(), 1u);
    EXPECT_EQ(source.Given, 0u);
}

TEST(MemoryTransfer, FailedChunkStopsTheWriteAsALinkFailure)
{
    // A refused chunk counts as a lost link as much as a silent board; the result keeps the
    // board's own answer.
    for (const TOpResult failure : {TOpResult::LinkFailed, TOpResult::Refused})
    {
        TFakeMemoryLink link(0x10000);
        link.FailAtCall = 4; // K, K W, K W(fails)
        link.Failure = failure;
        TRecordingProgress progress;
        TPatternSource source;
        const auto result =
            WriteMemoryWithProgress(link, progress, MEM_TYPE_SRAM, 0, 0x10000, source);
        EXPECT_EQ(result.Result, failure);
        EXPECT_TRUE(result.FailedMidway);
        EXPECT_EQ(result.BytesMoved, 3276u);
        EXPECT_EQ(link.Calls.size(), 5u);
    }
}

TEST(MemoryTransfer, AbortStopsAfterTheCurrentChunk)
{
    TFakeMemoryLink link(0x10000);
    TRecordingProgress progress;
    progress.AbortAfterPolls = 3;
    TPatternSource source;
    const auto result = WriteMemoryWithProgress(link, progress, MEM_TYPE_SRAM, 0, 0x10000, source);
    EXPECT_EQ(result.Result, TOpResult::Aborted);
    EXPECT_FALSE(result.FailedMidway);
    EXPECT_EQ(link.Of('W').size(), 3u);

    TFakeMemoryLink readLink(0x10000);
    TRecordingProgress readProgress;
    readProgress.AbortAfterPolls = 1;
    TCountingSink sink;
    const auto read =
        ReadMemoryWithProgress(readLink, readProgress, MEM_TYPE_SRAM, 0, 0x10000, sink);
    EXPECT_EQ(read.Result, TOpResult::Aborted);
    EXPECT_EQ(sink.Bytes, ReadChunkSize(0x10000));
    EXPECT_EQ(read.BytesMoved, sink.Bytes);
}

TEST(MemoryTransfer, SourceFailureEndsTheWriteWithoutTouchingTheBoardAgain)
{
    TFakeMemoryLink link(0x10000);
    TRecordingProgress progress;
    TPatternSource source;
    source.FailAfter = 3276 * 2;
    const auto result = WriteMemoryWithProgress(link, progress, MEM_TYPE_SRAM, 0, 0x10000, source);
    EXPECT_EQ(result.Result, TOpResult::FileFailed);
    EXPECT_FALSE(result.FailedMidway);
    EXPECT_EQ(link.Of('W').size(), 2u);
}

TEST(MemoryTransfer, RandomAccessMovesOneWordLowByteFirst)
{
    TFakeMemoryLink link(SRAM_SIZE_BYTES);
    ASSERT_EQ(MemoryRandomWrite(link, MEM_TYPE_SRAM, 0x3FFFF, 0x1234), TOpResult::Done);
    EXPECT_EQ(link.Calls.back().Address, 0x7FFFEu);
    EXPECT_EQ(link.Calls.back().Length, 2u);
    EXPECT_EQ(link.m_Memory[0x7FFFE], 0x34);
    EXPECT_EQ(link.m_Memory[0x7FFFF], 0x12);

    link.m_Memory[0] = 0xCD;
    link.m_Memory[1] = 0xAB;
    uint16_t value = 0;
    ASSERT_EQ(MemoryRandomRead(link, MEM_TYPE_SRAM, 0, value), TOpResult::Done);
    EXPECT_EQ(value, 0xABCD);

    link.FailAtCall = 0;
    link.Calls.clear();
    link.Failure = TOpResult::Refused;
    EXPECT_EQ(MemoryRandomRead(link, MEM_TYPE_SRAM, 0, value), TOpResult::Refused);
    EXPECT_EQ(value, 0xABCD); // untouched on failure
}
