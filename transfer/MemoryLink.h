#pragma once

#include "ops/OpResult.h"

#include <cstdint>

// The three board commands a memory transfer uses, each answering Done, Refused (the board
// answered with a failure) or LinkFailed. The board adapter (TBoardMemoryLink) forwards them
// to TBoard; tests give a fake that records the calls.
class TMemoryLink
{
public:
    virtual ~TMemoryLink() = default;
    /// TBoard::KeepAlive: Done when the board answered.
    virtual TOpResult KeepAlive() = 0;
    /// TBoard::MemoryWrite: Done when every exchange worked with status 0.
    virtual TOpResult MemoryWrite(uint8_t memoryType, uint32_t address, uint32_t length,
                                  const uint8_t* data) = 0;
    /// TBoard::MemoryRead: Done when every exchange worked with status 0.
    virtual TOpResult MemoryRead(uint8_t memoryType, uint32_t address, uint32_t length,
                                 uint8_t* destination) = 0;
};
