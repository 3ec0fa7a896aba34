#pragma once

#include "ops/OpResult.h"

#include <cstdint>

class TBoard;

// The LED pattern: bits 0-7 the green LEDs GLED0-7, bits 8-17 the red LEDs RLED0-9.
inline constexpr uint32_t LED_GREEN_COUNT = 8;
inline constexpr uint32_t LED_RED_COUNT = 10;
inline constexpr uint32_t LED_COUNT = LED_GREEN_COUNT + LED_RED_COUNT;
inline constexpr uint32_t LED_MASK_ALL = (1u << LED_COUNT) - 1;
inline constexpr uint32_t LED_MASK_NONE = 0;

/// Sends the pattern under the board's lock; bits above the 18 LEDs are dropped. A board
/// that is not connected is left alone: Done, nothing sent. The LED panel treats Refused as
/// a link failure too.
TOpResult SetLeds(TBoard& board, uint32_t mask);
