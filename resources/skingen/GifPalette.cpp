#include "resources/skingen/GifPalette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace
{

struct ColourCount
{
    QRgb Rgb;
    uint64_t Count;
};

int Channel(QRgb rgb, int channel)
{
    return channel == 0 ? qRed(rgb) : (channel == 1 ? qGreen(rgb) : qBlue(rgb));
}

// A run of the colour list that becomes one palette entry.
struct Box
{
    size_t Begin;
    size_t End;
    int WidestChannel = 0;
    int Range = 0;
    uint64_t Population = 0;
};

void Measure(Box& box, const std::vector<ColourCount>& colours)
{
    std::array<int, 3> lo = {255, 255, 255};
    std::array<int, 3> hi = {0, 0, 0};
    box.Population = 0;
    for (size_t i = box.Begin; i < box.End; ++i)
    {
        for (int c = 0; c < 3; ++c)
        {
            const int v = Channel(colours[i].Rgb, c);
            lo[static_cast<size_t>(c)] = std::min(lo[static_cast<size_t>(c)], v);
            hi[static_cast<size_t>(c)] = std::max(hi[static_cast<size_t>(c)], v);
        }
        box.Population += colours[i].Count;
    }
    box.Range = -1;
    for (int c = 0; c < 3; ++c)
    {
        const int range = hi[static_cast<size_t>(c)] - lo[static_cast<size_t>(c)];
        if (range > box.Range)
        {
            box.Range = range;
            box.WidestChannel = c;
        }
    }
}

QRgb Average(const Box& box, const std::vector<ColourCount>& colours)
{
    std::array<uint64_t, 3> sum = {0, 0, 0};
    uint64_t n = 0;
    for (size_t i = box.Begin; i < box.End; ++i)
    {
        for (int c = 0; c < 3; ++c)
        {
            const auto value = static_cast<uint64_t>(Channel(colours[i].Rgb, c));
            sum[static_cast<size_t>(c)] += value * colours[i].Count;
        }
        n += colours[i].Count;
    }
    auto mean = [n](uint64_t s) { return static_cast<int>((s + n / 2) / n); };
    return qRgb(mean(sum[0]), mean(sum[1]), mean(sum[2]));
}

std::vector<QRgb> MedianCut(std::vector<ColourCount> colours, size_t maxColours)
{
    std::vector<Box> boxes;
    boxes.push_back({0, colours.size()});
    Measure(boxes.back(), colours);
    while (boxes.size() < maxColours)
    {
        // split the box that holds the most error: wide and well populated
        auto weight = [](const Box& b)
        { return b.End - b.Begin > 1 ? b.Range * std::sqrt(double(b.Population)) : -1.0; };
        auto widest =
            std::max_element(boxes.begin(), boxes.end(),
                             [&](const Box& a, const Box& b) { return weight(a) < weight(b); });
        if (widest->End - widest->Begin < 2 || widest->Range <= 0)
        {
            break;
        }
        Box box = *widest;
        const int channel = box.WidestChannel;
        std::sort(colours.begin() + static_cast<std::ptrdiff_t>(box.Begin),
                  colours.begin() + static_cast<std::ptrdiff_t>(box.End),
                  [channel](const ColourCount& a, const ColourCount& b)
                  { return Channel(a.Rgb, channel) < Channel(b.Rgb, channel); });
        // weighted median, keeping both halves non-empty
        uint64_t half = box.Population / 2;
        uint64_t seen = 0;
        size_t cut = box.Begin + 1;
        for (size_t i = box.Begin; i < box.End - 1; ++i)
        {
            seen += colours[i].Count;
            cut = i + 1;
            if (seen >= half)
            {
                break;
            }
        }
        Box lower{box.Begin, cut};
        Box upper{cut, box.End};
        Measure(lower, colours);
        Measure(upper, colours);
        *widest = lower;
        boxes.push_back(upper);
    }
    std::vector<QRgb> palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes)
    {
        palette.push_back(Average(box, colours));
    }
    return palette;
}

int Distance(QRgb a, QRgb b)
{
    // weighted towards green, as the eye is
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

} // namespace

TGifPalette::TGifPalette(std::vector<QRgb> colours) : m_Colours(std::move(colours))
{
    for (size_t i = 0; i < m_Colours.size(); ++i)
    {
        m_Lookup.emplace(m_Colours[i], static_cast<uint8_t>(i));
    }
}

TGifPalette TGifPalette::FromFrames(const std::vector<QImage>& frames, size_t maxColours)
{
    maxColours = std::clamp<size_t>(maxColours, 1, MAX_COLOURS);
    std::unordered_map<QRgb, uint64_t> histogram;
    for (const QImage& frame : frames)
    {
        const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y)
        {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x)
            {
                ++histogram[line[x] | 0xff000000u];
            }
        }
    }
    std::vector<ColourCount> colours;
    colours.reserve(histogram.size());
    for (const auto& [rgb, count] : histogram)
    {
        colours.push_back({rgb, count});
    }
    // a fixed order keeps the output the same from run to run
    std::sort(colours.begin(), colours.end(),
              [](const ColourCount& a, const ColourCount& b) { return a.Rgb < b.Rgb; });
    if (colours.empty())
    {
        return TGifPalette({qRgb(0, 0, 0)});
    }
    if (colours.size() <= maxColours)
    {
        std::vector<QRgb> exact;
        for (const ColourCount& c : colours)
        {
            exact.push_back(c.Rgb);
        }
        return TGifPalette(exact);
    }
    return TGifPalette(MedianCut(std::move(colours), maxColours));
}

uint8_t TGifPalette::IndexOf(QRgb rgb)
{
    rgb |= 0xff000000u;
    const auto found = m_Lookup.find(rgb);
    if (found != m_Lookup.end())
    {
        return found->second;
    }
    size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < m_Colours.size(); ++i)
    {
        const int d = Distance(rgb, m_Colours[i]);
        if (d < bestDistance)
        {
            bestDistance = d;
            best = i;
        }
    }
    const auto index = static_cast<uint8_t>(best);
    m_Lookup.emplace(rgb, index);
    return index;
}
