#pragma once

#include "protocol/Frame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The frames a byte stream holds, found the plainest way: from the left, a well-formed frame
// (AA, code, length, payload, 8-bit sum of code to payload, 55) is taken whole and the scan
// goes on behind it; anything else moves the scan one byte on. A reader that resynchronises
// on every start mark must find exactly these, however the stream is split.
struct TScannedFrame
{
    uint8_t Code;
    std::vector<uint8_t> Payload;
    bool operator==(const TScannedFrame&) const = default;
};

/// True when a frame with at most maxPayload payload bytes starts at bytes[at] and is whole.
inline bool FrameStartsAt(const std::vector<uint8_t>& bytes, size_t at, size_t maxPayload)
{
    if (bytes[at] != PKT_START_MARK || bytes.size() - at < PKT_FRAME_OVERHEAD)
        return false;
    const size_t length = bytes[at + 2] | static_cast<size_t>(bytes[at + 3]) << 8;
    if (length > maxPayload || bytes.size() - at < length + PKT_FRAME_OVERHEAD)
        return false;
    uint8_t sum = 0;
    for (size_t i = at + 1; i < at + PKT_HEADER_LEN + length; ++i)
        sum = static_cast<uint8_t>(sum + bytes[i]);
    return bytes[at + PKT_HEADER_LEN + length] == sum &&
           bytes[at + PKT_HEADER_LEN + length + 1] == PKT_END_MARK;
}

inline std::vector<TScannedFrame> ScanFrames(const std::vector<uint8_t>& bytes, size_t maxPayload)
{
    std::vector<TScannedFrame> frames;
    size_t at = 0;
    while (at < bytes.size())
    {
        if (!FrameStartsAt(bytes, at, maxPayload))
        {
            ++at;
            continue;
        }
        const size_t length = bytes[at + 2] | static_cast<size_t>(bytes[at + 3]) << 8;
        const auto payload = bytes.begin() + static_cast<std::ptrdiff_t>(at + PKT_HEADER_LEN);
        frames.push_back(
            {bytes[at + 1],
             std::vector<uint8_t>(payload, payload + static_cast<std::ptrdiff_t>(length))});
        at += length + PKT_FRAME_OVERHEAD;
    }
    return frames;
}

/// The stream cut into pieces of 1 to maxPiece bytes, their sizes drawn from seed.
inline std::vector<size_t> PieceSizes(size_t total, uint8_t seed, size_t maxPiece)
{
    std::vector<size_t> sizes;
    uint32_t state = seed * 2654435761u + 1;
    while (total > 0)
    {
        state = state * 1664525u + 1013904223u;
        const size_t piece = std::min<size_t>(total, 1 + (state >> 16) % maxPiece);
        sizes.push_back(piece);
        total -= piece;
    }
    return sizes;
}
