#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <unordered_map>
#include <vector>

// The one global colour table of a GIF: the frames' own colours when they use at most 256,
// else a median cut of all of them, weighted by how often each colour occurs.
class TGifPalette
{
public:
    static constexpr size_t MAX_COLOURS = 256;

    /// Builds the table for these frames: at most maxColours entries (1 to MAX_COLOURS),
    /// at least one.
    static TGifPalette FromFrames(const std::vector<QImage>& frames,
                                  size_t maxColours = MAX_COLOURS);

    /// The table's colours, in index order.
    const std::vector<QRgb>& Colours() const { return m_Colours; }

    /// Index of the colour nearest to rgb (exact when the table holds it).
    uint8_t IndexOf(QRgb rgb);

private:
    explicit TGifPalette(std::vector<QRgb> colours);

    std::vector<QRgb> m_Colours;
    std::unordered_map<QRgb, uint8_t> m_Lookup; // every colour met so far
};
