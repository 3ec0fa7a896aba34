#include "ops/AdcOps.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

TOpResult ReadAdc(TBoard& board, TAdcBlock& block)
{
    TAdcBlock read{};
    bool worked = false;
    {
        std::lock_guard<std::recursive_mutex> lock(board.Lock());
        worked = board.MemoryRead(MEM_TYPE_ADC, ADC_BLOCK_ADDRESS, ADC_BLOCK_LEN, read.data());
    }
    const TOpResult result = CommandOutcome(board, worked);
    if (result == TOpResult::Done)
        block = read;
    return result;
}
