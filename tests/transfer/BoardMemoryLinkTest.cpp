#include "tests/board/BoardFixture.h"

#include "transfer/BoardMemoryLink.h"

namespace
{
constexpr uint8_t REFUSED_STATUS = 1;
constexpr uint32_t SILENT_READ_COST_MS = 50; // lets a silent board time out in few reads
constexpr uint8_t WORD[2] = {0x34, 0x12};

using BoardMemoryLinkTest = BoardTest;
} // namespace

// The transfers and the memory test pass on what the adapter answers: a failure must be
// named as the board saw it, and a detached board must never be touched.
TEST_F(BoardMemoryLinkTest, NamesEachFailureAsTheBoardSawIt)
{
    TBoardMemoryLink link(Board);
    EXPECT_EQ(link.KeepAlive(), TOpResult::LinkFailed) << "not connected";
    ConnectBoard();
    AnswerStatus(REPLY_STATUS_OK);
    EXPECT_EQ(link.KeepAlive(), TOpResult::Done);
    EXPECT_EQ(link.MemoryWrite(MEM_TYPE_SRAM, 0, 2, WORD), TOpResult::Done);
    AnswerStatus(REFUSED_STATUS);
    EXPECT_EQ(link.MemoryWrite(MEM_TYPE_SRAM, 0, 2, WORD), TOpResult::Refused);
    Firmware.Reply = [](const TRequest&) { return std::nullopt; };
    Fake->SetReadCost(SILENT_READ_COST_MS);
    EXPECT_EQ(link.MemoryWrite(MEM_TYPE_SRAM, 0, 2, WORD), TOpResult::LinkFailed);

    ConnectBoard();
    AnswerStatus(REPLY_STATUS_OK);
    Firmware.Requests.clear();
    link.Detach();
    EXPECT_EQ(link.KeepAlive(), TOpResult::LinkFailed);
    EXPECT_TRUE(Firmware.Requests.empty());
}
