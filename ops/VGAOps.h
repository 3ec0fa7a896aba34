#pragma once

#include "ops/OpResult.h"

#include <cstdint>

class TBoard;

/// Starts the HDMI transmitter. Takes no lock: the panel sends the start at attach without it.
TOpResult StartHdmi(TBoard& board);
/// Sets test pattern code (0 to HDMI_PATTERN_COUNT - 1) under the board's lock, with an
/// extra drain of the input first.
TOpResult SetHdmiPattern(TBoard& board, uint8_t code);
