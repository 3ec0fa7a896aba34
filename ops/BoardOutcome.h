#pragma once

#include "ops/OpResult.h"

class TBoard;

/// Result of a board command that answers with one flag. Done when it worked; after a
/// failure Refused when the board is still connected and its last exchange got a valid reply
/// (so the firmware's status was not 0), else LinkFailed.
TOpResult CommandOutcome(const TBoard& board, bool worked);
/// Result of a board command that reports the exchange and the firmware's status apart.
TOpResult ReplyOutcome(bool exchanged, bool accepted);
