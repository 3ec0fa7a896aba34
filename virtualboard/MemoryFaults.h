#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace vboard
{

// Hardware faults of one memory chip, for proving a memory test: a data bit stuck at 0 or 1
// (in every 16-bit word, or in one cell only), and two word-address lines shorted together
// (wired OR: an address with either line high reaches the cell with both high).
class TMemoryFaults
{
public:
    /// Data bit 0..15 reads as value from now on: in every word, or only in the cell at
    /// wordAddress (the cell the chip reaches, after any shorted lines).
    void StickBit(int bit, bool value, std::optional<uint64_t> wordAddress = std::nullopt);
    /// Word-address lines a and b (bit numbers of the word address) act as one.
    void ShortLines(int a, int b);
    /// A healthy chip again.
    void Clear();
    /// True when any fault is set.
    bool Any() const { return !m_Stuck.empty() || !m_Shorts.empty(); }

    /// The byte address the chip really reaches for byteAddress.
    uint64_t Map(uint64_t byteAddress) const;
    /// The byte read from the cell at byteAddress (as Map gives it), with the stuck bits of
    /// its half of the word applied.
    uint8_t Read(uint64_t byteAddress, uint8_t stored) const;

private:
    struct TStuckBit
    {
        int Bit;
        bool Value;
        std::optional<uint64_t> WordAddress; // every word without one
    };

    std::vector<TStuckBit> m_Stuck;
    std::vector<std::pair<int, int>> m_Shorts;
};

} // namespace vboard
