#pragma once

#include "board/Board.h"
#include "ops/OpResult.h"

#include <cstdint>

// The input state: bits 0-3 the keys KEY0-3, bits 4-13 the switches SW0-9.
inline constexpr uint32_t KEY_COUNT = BUTTON_KEY_COUNT;
inline constexpr uint32_t SWITCH_COUNT = BUTTON_SWITCH_COUNT;

/// The keys of an input state, KEY0 in bit 0.
inline uint32_t KeysOf(uint32_t state)
{
    return state & BUTTON_KEY_MASK;
}

/// The switches of an input state, SW0 in bit 0.
inline uint32_t SwitchesOf(uint32_t state)
{
    return (state >> INPUT_SWITCH_SHIFT) & BUTTON_SWITCH_MASK;
}

/// One poll of the keys and switches under the board's lock; state is written on Done.
/// A board that is not connected gives LinkFailed with nothing sent.
TOpResult QueryKeysSwitches(TBoard& board, uint32_t& state);
