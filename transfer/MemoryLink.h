#pragma once

#include <cstdint>

// The three board commands a memory transfer uses. The board adapter (TBoardMemoryLink)
// forwards them to TBoard; tests give a fake that records the calls.
class TMemoryLink
{
public:
    virtual ~TMemoryLink() = default;
    /// TBoard::KeepAlive: true when the board answered.
    virtual bool KeepAlive() = 0;
    /// TBoard::MemoryWrite: true when every exchange worked with status 0.
    virtual bool MemoryWrite(uint8_t memoryType, uint32_t address, uint32_t length,
                             const uint8_t* data) = 0;
    /// TBoard::MemoryRead: true when every exchange worked with status 0.
    virtual bool MemoryRead(uint8_t memoryType, uint32_t address, uint32_t length,
                            uint8_t* destination) = 0;
};
