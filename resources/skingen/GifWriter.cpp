#include "resources/skingen/GifWriter.h"

#include "resources/skingen/GifPalette.h"

#include <algorithm>
#include <array>
#include <memory>

namespace
{

constexpr int MAX_CODE_BITS = 12;
constexpr int MAX_CODES = 1 << MAX_CODE_BITS;
constexpr int PALETTE_BITS = 8; // the global table always has 256 entries
constexpr size_t PALETTE_SIZE = size_t(1) << PALETTE_BITS;
constexpr uint8_t UNCHANGED = PALETTE_SIZE - 1; // transparent index of the later frames
constexpr int SUB_BLOCK = 255;
constexpr int CENTISECONDS_PER_MS = 10;

// Codes go out least significant bit first.
class BitPacker
{
public:
    void Put(int code, int bits)
    {
        m_Pending |= static_cast<uint32_t>(code) << m_Count;
        m_Count += bits;
        while (m_Count >= 8)
        {
            m_Out.append(static_cast<char>(m_Pending & 0xFF));
            m_Pending >>= 8;
            m_Count -= 8;
        }
    }
    QByteArray Finish()
    {
        if (m_Count > 0)
        {
            m_Out.append(static_cast<char>(m_Pending & 0xFF));
        }
        m_Pending = 0;
        m_Count = 0;
        return m_Out;
    }

private:
    QByteArray m_Out;
    uint32_t m_Pending = 0;
    int m_Count = 0;
};

// String table of the encoder: (prefix code, next index) -> code, open addressing.
class CodeTable
{
public:
    void Clear() { m_Slots.fill(EMPTY); }
    int Find(int prefix, uint8_t index) const
    {
        const uint32_t key = Key(prefix, index);
        for (size_t s = Hash(key);; s = (s + 1) % SLOTS)
        {
            if (m_Slots[s] == EMPTY)
            {
                return -1;
            }
            if ((m_Slots[s] >> 12) == key)
            {
                return static_cast<int>(m_Slots[s] & 0xFFF);
            }
        }
    }
    void Add(int prefix, uint8_t index, int code)
    {
        const uint32_t key = Key(prefix, index);
        size_t s = Hash(key);
        while (m_Slots[s] != EMPTY)
        {
            s = (s + 1) % SLOTS;
        }
        m_Slots[s] = (key << 12) | static_cast<uint32_t>(code);
    }

private:
    static constexpr size_t SLOTS = 8191; // prime, about twice the codes held
    static constexpr uint32_t EMPTY = 0xFFFFFFFFu;
    static uint32_t Key(int prefix, uint8_t index)
    {
        return (static_cast<uint32_t>(prefix) << 8) | index;
    }
    static size_t Hash(uint32_t key) { return (key * 2654435761u) % SLOTS; }
    std::array<uint32_t, SLOTS> m_Slots{};
};

void PutWord(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void PutSubBlocks(QByteArray& out, const QByteArray& data)
{
    for (qsizetype at = 0; at < data.size(); at += SUB_BLOCK)
    {
        const qsizetype n = std::min<qsizetype>(SUB_BLOCK, data.size() - at);
        out.append(static_cast<char>(n));
        out.append(data.constData() + at, n);
    }
    out.append('\0');
}

std::vector<uint8_t> Quantise(const QImage& frame, TGifPalette& palette)
{
    const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
    std::vector<uint8_t> indices;
    indices.reserve(static_cast<size_t>(rgb.width()) * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
    {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
        {
            indices.push_back(palette.IndexOf(line[x]));
        }
    }
    return indices;
}

// Smallest rectangle holding every changed pixel; one pixel when nothing changed.
QRect ChangedArea(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, QSize size)
{
    int left = size.width();
    int right = -1;
    int top = size.height();
    int bottom = -1;
    for (int y = 0; y < size.height(); ++y)
    {
        for (int x = 0; x < size.width(); ++x)
        {
            const size_t at =
                static_cast<size_t>(y) * static_cast<size_t>(size.width()) + static_cast<size_t>(x);
            if (before[at] != after[at])
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
    {
        return QRect(0, 0, 1, 1);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// One image: graphic control (leave in place, the delay, maybe a transparent index),
// descriptor without a local table, then the compressed indices.
void PutImage(QByteArray& out, const QRect& area, const std::vector<uint8_t>& indices, int delay,
              int transparentIndex)
{
    constexpr char LEAVE_IN_PLACE = 1 << 2;
    out.append("\x21\xF9\x04", 3);
    out.append(static_cast<char>(LEAVE_IN_PLACE | (transparentIndex >= 0 ? 1 : 0)));
    PutWord(out, delay);
    out.append(static_cast<char>(transparentIndex >= 0 ? transparentIndex : 0));
    out.append('\0');
    out.append('\x2C');
    PutWord(out, area.left());
    PutWord(out, area.top());
    PutWord(out, area.width());
    PutWord(out, area.height());
    out.append('\0');
    out.append(static_cast<char>(PALETTE_BITS));
    PutSubBlocks(out, TGifWriter::Compress(indices, PALETTE_BITS));
}

} // namespace

QByteArray TGifWriter::Compress(const std::vector<uint8_t>& indices, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitPacker bits;
    auto table = std::make_unique<CodeTable>();
    table->Clear();
    int codeSize = minCodeSize + 1;
    int lastCode = endCode; // highest code in use
    bits.Put(clearCode, codeSize);
    if (indices.empty())
    {
        bits.Put(endCode, codeSize);
        return bits.Finish();
    }
    int prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i)
    {
        const uint8_t next = indices[i];
        const int code = table->Find(prefix, next);
        if (code >= 0)
        {
            prefix = code;
            continue;
        }
        bits.Put(prefix, codeSize);
        ++lastCode;
        table->Add(prefix, next, lastCode);
        // the decoder grows its code size one code later than it adds, as we do here
        if (lastCode >= (1 << codeSize) && codeSize < MAX_CODE_BITS)
        {
            ++codeSize;
        }
        if (lastCode == MAX_CODES - 1)
        {
            bits.Put(clearCode, codeSize);
            table->Clear();
            codeSize = minCodeSize + 1;
            lastCode = endCode;
        }
        prefix = next;
    }
    bits.Put(prefix, codeSize);
    bits.Put(endCode, codeSize);
    return bits.Finish();
}

QByteArray TGifWriter::Encode(const std::vector<QImage>& frames, int delayMs)
{
    if (frames.empty())
    {
        return {};
    }
    const QSize size = frames.front().size();
    for (const QImage& frame : frames)
    {
        if (frame.size() != size || frame.isNull())
        {
            return {};
        }
    }
    // later frames carry only what changed; one index is kept for "unchanged"
    const bool animated = frames.size() > 1;
    TGifPalette palette = TGifPalette::FromFrames(frames, animated ? TGifPalette::MAX_COLOURS - 1
                                                                   : TGifPalette::MAX_COLOURS);

    QByteArray out("GIF89a");
    PutWord(out, size.width());
    PutWord(out, size.height());
    // global table present, 8-bit colour resolution, 2^(7+1) entries
    out.append(static_cast<char>(0xF7));
    out.append('\0'); // background colour index
    out.append('\0'); // square pixels
    const std::vector<QRgb>& colours = palette.Colours();
    for (size_t i = 0; i < PALETTE_SIZE; ++i)
    {
        const QRgb c = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }
    if (animated)
    {
        // loop for ever
        out.append("\x21\xFF\x0B"
                   "NETSCAPE2.0"
                   "\x03\x01",
                   16);
        PutWord(out, 0);
        out.append('\0');
    }

    const int delay = (delayMs + CENTISECONDS_PER_MS / 2) / CENTISECONDS_PER_MS;
    std::vector<uint8_t> previous;
    for (const QImage& frame : frames)
    {
        std::vector<uint8_t> current = Quantise(frame, palette);
        if (previous.empty())
        {
            PutImage(out, QRect(QPoint(0, 0), size), current, delay, -1);
        }
        else
        {
            const QRect changed = ChangedArea(previous, current, size);
            std::vector<uint8_t> patch;
            patch.reserve(static_cast<size_t>(changed.width()) *
                          static_cast<size_t>(changed.height()));
            for (int y = changed.top(); y <= changed.bottom(); ++y)
            {
                for (int x = changed.left(); x <= changed.right(); ++x)
                {
                    const size_t at = static_cast<size_t>(y) * static_cast<size_t>(size.width()) +
                                      static_cast<size_t>(x);
                    patch.push_back(current[at] == previous[at] ? UNCHANGED : current[at]);
                }
            }
            PutImage(out, changed, patch, delay, UNCHANGED);
        }
        previous = std::move(current);
    }
    out.append('\x3B');
    return out;
}
