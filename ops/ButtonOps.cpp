#include "ops/ButtonOps.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

TOpResult QueryKeysSwitches(TBoard& board, uint32_t& state)
{
    std::lock_guard<std::recursive_mutex> lock(board.Lock());
    if (!board.IsConnected())
        return TOpResult::LinkFailed;
    return CommandOutcome(board, board.QueryButtonSwitch(state));
}
