#pragma once

#include "ops/OpResult.h"

#include <array>
#include <cstdint>

class TBoard;

// A 16-bit memory word on the wire: two bytes, low byte first, at byte address 2 x word address.
inline constexpr uint32_t MEMORY_WORD_BYTES = 2;
using TMemoryWordBytes = std::array<uint8_t, MEMORY_WORD_BYTES>;

/// The two bytes that carry word.
TMemoryWordBytes MemoryWordBytes(uint16_t word);
/// The word that two bytes carry.
uint16_t MemoryWordOf(const TMemoryWordBytes& bytes);

/// Reads one 16-bit word at wordAddress of memoryType; value is written only on Done.
/// Takes no lock: the memory panel holds none. A board that is not connected gives
/// LinkFailed with nothing sent.
TOpResult ReadMemoryWord(TBoard& board, uint8_t memoryType, uint32_t wordAddress, uint16_t& value);
/// Writes one 16-bit word at wordAddress of memoryType. Takes no lock.
TOpResult WriteMemoryWord(TBoard& board, uint8_t memoryType, uint32_t wordAddress, uint16_t data);
