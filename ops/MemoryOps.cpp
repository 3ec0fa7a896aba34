#include "ops/MemoryOps.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

#include <QtEndian>

TMemoryWordBytes MemoryWordBytes(uint16_t word)
{
    TMemoryWordBytes bytes{};
    qToLittleEndian(word, bytes.data());
    return bytes;
}

uint16_t MemoryWordOf(const TMemoryWordBytes& bytes)
{
    return qFromLittleEndian<uint16_t>(bytes.data());
}

TOpResult ReadMemoryWord(TBoard& board, uint8_t memoryType, uint32_t wordAddress, uint16_t& value)
{
    if (!board.IsConnected())
        return TOpResult::LinkFailed;
    TMemoryWordBytes bytes{};
    const bool worked = board.MemoryRead(memoryType, wordAddress * MEMORY_WORD_BYTES,
                                         MEMORY_WORD_BYTES, bytes.data());
    if (worked)
        value = MemoryWordOf(bytes);
    return CommandOutcome(board, worked);
}

TOpResult WriteMemoryWord(TBoard& board, uint8_t memoryType, uint32_t wordAddress, uint16_t data)
{
    if (!board.IsConnected())
        return TOpResult::LinkFailed;
    const TMemoryWordBytes bytes = MemoryWordBytes(data);
    return CommandOutcome(board, board.MemoryWrite(memoryType, wordAddress * MEMORY_WORD_BYTES,
                                                   MEMORY_WORD_BYTES, bytes.data()));
}
