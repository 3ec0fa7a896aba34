#pragma once

#include "ops/OpResult.h"

#include <QString>

class TBoard;

// The card's report texts as the SD card panel shows them.
struct TSDCardInfo
{
    QString Cid;
    QString Csd;
    QString FileSystem; // "FAT16", "FAT32" or "NA"

    bool operator==(const TSDCardInfo&) const = default;
};

/// Drains the input and queries the card under the board's lock; the query may take up to
/// its 10000 ms limit. Refused when the board reports no card (a status that is not 0),
/// LinkFailed when the exchange failed; info is written only on Done.
TOpResult QuerySDCard(TBoard& board, TSDCardInfo& info);
