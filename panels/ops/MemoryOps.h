#pragma once

#include "panels/MemoryTransfer.h"
#include "panels/ops/OpResult.h"

#include <cstdint>

class TBoard;

/// Reads one 16-bit word at wordAddress of memoryType; value is written only on Done.
/// Takes no lock: the memory panel holds none.
TOpResult ReadMemoryWord(TBoard& board, uint8_t memoryType, uint32_t wordAddress,
                         uint16_t& value);
/// Writes one 16-bit word at wordAddress of memoryType. Takes no lock.
TOpResult WriteMemoryWord(TBoard& board, uint8_t memoryType, uint32_t wordAddress,
                          uint16_t data);

/// How a transfer ended: Done, Aborted, a board failure told apart by the board's last
/// exchange (CommandOutcome), else FileFailed. The write direction's own LinkFailed flag,
/// which decides the memory panel's OnLinkFailure, is left to the panel.
TOpResult TransferOutcome(const TBoard& board, bool ok, bool aborted, bool boardFailed);

inline TOpResult TransferOutcome(const TBoard& board, const TTransferResult& result)
{
    return TransferOutcome(board, result.Ok, result.Aborted, result.BoardFailed);
}
