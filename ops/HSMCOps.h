#pragma once

#include "ops/OpResult.h"

#include <cstdint>

class TBoard;

// The failing signals of a loopback test that ran: a set bit marks a failing pin pair.
struct THsmcErrors
{
    uint64_t Io = 0;   // bits 0-40
    uint32_t Xcvr = 0; // bits 0-7, of which the report names 0-3

    bool None() const { return Io == 0 && Xcvr == 0; }
    bool operator==(const THsmcErrors&) const = default;
};

/// Runs the loopback test under the board's lock, without a connection test. Done when the
/// test ran, whether it passed or not: errors then tells which pins failed (None() for a
/// pass). Refused when the firmware could not run it (a status that is not 0).
TOpResult RunHsmcLoopback(TBoard& board, THsmcErrors& errors);
