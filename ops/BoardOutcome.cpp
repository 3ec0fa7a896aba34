#include "ops/BoardOutcome.h"

#include "board/Board.h"

TOpResult CommandOutcome(const TBoard& board, bool worked)
{
    if (worked)
        return TOpResult::Done;
    return board.IsConnected() && board.LastExchangeWorked() ? TOpResult::Refused
                                                             : TOpResult::LinkFailed;
}

TOpResult ReplyOutcome(bool exchanged, bool accepted)
{
    if (!exchanged)
        return TOpResult::LinkFailed;
    return accepted ? TOpResult::Done : TOpResult::Refused;
}
