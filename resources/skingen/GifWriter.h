#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <vector>

// A small GIF89a encoder: one global colour table, an endless loop, and after the first
// frame only the pixels that changed (the rest left transparent over the frame before).
class TGifWriter
{
public:
    /// Encodes frames (all of one size) as a looping animation showing each for delayMs.
    /// Returns an empty array when there are no frames or their sizes differ.
    static QByteArray Encode(const std::vector<QImage>& frames, int delayMs);

    /// LZW-compresses colour indices (each below 2^minCodeSize) into the code stream of
    /// one GIF image, clear code first and end code last, not yet cut into sub-blocks.
    static QByteArray Compress(const std::vector<uint8_t>& indices, int minCodeSize);
};
