#include "ops/SDCardOps.h"

#include "board/Board.h"

TOpResult QuerySDCard(TBoard& board, TSDCardInfo& info)
{
    bool present = false;
    bool flag = false; // sent by the firmware, used by nobody
    TSDCardInfo read;
    bool exchanged = false;
    {
        std::lock_guard<std::recursive_mutex> lock(board.Lock());
        board.DrainInput();
        exchanged = board.QuerySDCardInfo(present, read.Csd, read.Cid, read.FileSystem, flag);
    }
    if (!exchanged)
        return TOpResult::LinkFailed;
    if (!present)
        return TOpResult::Refused;
    info = read;
    return TOpResult::Done;
}
