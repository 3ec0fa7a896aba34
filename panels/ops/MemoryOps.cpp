#include "panels/ops/MemoryOps.h"

#include "panels/BoardMemoryLink.h"
#include "panels/ops/BoardOutcome.h"

TOpResult ReadMemoryWord(TBoard& board, uint8_t memoryType, uint32_t wordAddress,
                         uint16_t& value)
{
    TBoardMemoryLink link(board);
    return CommandOutcome(board, MemoryRandomRead(link, memoryType, wordAddress, value));
}

TOpResult WriteMemoryWord(TBoard& board, uint8_t memoryType, uint32_t wordAddress,
                          uint16_t data)
{
    TBoardMemoryLink link(board);
    return CommandOutcome(board, MemoryRandomWrite(link, memoryType, wordAddress, data));
}

TOpResult TransferOutcome(const TBoard& board, bool ok, bool aborted, bool boardFailed)
{
    if (ok)
        return TOpResult::Done;
    if (aborted)
        return TOpResult::Aborted;
    return boardFailed ? CommandOutcome(board, false) : TOpResult::FileFailed;
}
