#include "ops/MemoryOps.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

namespace
{
constexpr int BYTE_BITS = 8;
constexpr uint16_t BYTE_MASK = 0xFF;
} // namespace

TMemoryWordBytes MemoryWordBytes(uint16_t word)
{
    return {static_cast<uint8_t>(word & BYTE_MASK), static_cast<uint8_t>(word >> BYTE_BITS)};
}

uint16_t MemoryWordOf(const TMemoryWordBytes& bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << BYTE_BITS));
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
