#include "ops/LedOps.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

TOpResult SetLeds(TBoard& board, uint32_t mask)
{
    std::lock_guard<std::recursive_mutex> lock(board.Lock());
    if (!board.IsConnected())
        return TOpResult::Done;
    return CommandOutcome(board, board.SetLED(mask & LED_MASK_ALL));
}
