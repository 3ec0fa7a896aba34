#pragma once

#include "ops/OpResult.h"

#include <cstdint>

class TBoard;

// The input state: bits 0-3 the keys KEY0-3, bits 4-13 the switches SW0-9.
inline constexpr uint32_t KEY_COUNT = 4;
inline constexpr uint32_t SWITCH_COUNT = 10;
inline constexpr uint32_t INPUT_KEY_MASK = 0xF;
inline constexpr uint32_t INPUT_SWITCH_MASK = 0x3FF;
inline constexpr uint32_t INPUT_SWITCH_SHIFT = KEY_COUNT;

/// The keys of an input state, KEY0 in bit 0.
inline uint32_t KeysOf(uint32_t state)
{
    return state & INPUT_KEY_MASK;
}

/// The switches of an input state, SW0 in bit 0.
inline uint32_t SwitchesOf(uint32_t state)
{
    return (state >> INPUT_SWITCH_SHIFT) & INPUT_SWITCH_MASK;
}

/// One poll of the keys and switches under the board's lock; state is written on Done.
/// A board that is not connected gives LinkFailed with nothing sent.
TOpResult QueryKeysSwitches(TBoard& board, uint32_t& state);
