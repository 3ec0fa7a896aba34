#include "ops/Seg7Ops.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

namespace
{
constexpr uint8_t SEG7_EXTRA = 0; // the byte after the digits; the panel always sends 0
} // namespace

uint32_t PackSeg7Digits(const TSeg7Digits& digits)
{
    uint32_t value = 0;
    for (std::size_t k = 0; k < SEG7_DIGIT_COUNT; ++k)
        value |= (static_cast<uint32_t>(digits[k]) & SEG7_DIGIT_MASK) << (SEG7_DIGIT_BITS * k);
    return value;
}

TOpResult SetSeg7Digits(TBoard& board, uint32_t value)
{
    std::lock_guard<std::recursive_mutex> lock(board.Lock());
    if (!board.IsConnected())
        return TOpResult::LinkFailed;
    return CommandOutcome(board, board.SetSeg7(value, SEG7_EXTRA));
}
