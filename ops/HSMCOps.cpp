#include "ops/HSMCOps.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

TOpResult RunHsmcLoopback(TBoard& board, THsmcErrors& errors)
{
    bool accepted = false;
    THsmcErrors found;
    bool exchanged = false;
    {
        std::lock_guard<std::recursive_mutex> lock(board.Lock());
        exchanged = board.HsmcLoopbackTest(accepted, found.Io, found.Xcvr);
    }
    const TOpResult result = ReplyOutcome(exchanged, accepted);
    if (result == TOpResult::Done)
        errors = found;
    return result;
}
