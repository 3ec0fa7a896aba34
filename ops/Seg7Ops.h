#pragma once

#include "ops/OpResult.h"

#include <array>
#include <cstdint>

class TBoard;

// Four hexadecimal digits HEX0-HEX3; digit k sits in bits 4k to 4k+3 of the value sent.
inline constexpr std::size_t SEG7_DIGIT_COUNT = 4;
inline constexpr uint32_t SEG7_DIGIT_BITS = 4;
inline constexpr uint32_t SEG7_DIGIT_MASK = 0xF;
inline constexpr uint32_t SEG7_VALUE_MAX = 0xFFFF;

using TSeg7Digits = std::array<int, SEG7_DIGIT_COUNT>;

/// The value for the board: HEX0 in the lowest nibble, each digit cut to 4 bits.
uint32_t PackSeg7Digits(const TSeg7Digits& digits);
/// Sends the value under the board's lock. A board that is not connected gives LinkFailed
/// with nothing sent: the panel reports it as it reports a failed send.
TOpResult SetSeg7Digits(TBoard& board, uint32_t value);
