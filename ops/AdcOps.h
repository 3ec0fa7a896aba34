#pragma once

#include "ops/AdcReadout.h"
#include "ops/OpResult.h"

class TBoard;

/// Reads the eight channels as one block under the board's lock; block is written only on
/// Done. The ADC panel treats Refused as a link failure too.
TOpResult ReadAdc(TBoard& board, TAdcBlock& block);
