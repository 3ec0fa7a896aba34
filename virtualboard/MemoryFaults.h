#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace vboard
{

// Hardware faults of one memory chip, for proving a memory test: a data bit stuck at 0 or 1
// (every 16-bit word reads it so), and two word-address lines shorted together (wired OR:
// an address with either line high reaches the cell with both high).
class TMemoryFaults
{
public:
    /// Data bit 0..15 of every word reads as value from now on.
    void StickBit(int bit, bool value);
    /// Word-address lines a and b (bit numbers of the word address) act as one.
    void ShortLines(int a, int b);
    /// A healthy chip again.
    void Clear();
    /// True when any fault is set.
    bool Any() const { return !m_Stuck.empty() || !m_Shorts.empty(); }

    /// The byte address the chip really reaches for byteAddress.
    uint64_t Map(uint64_t byteAddress) const;
    /// The byte read at byteAddress, with the stuck bits of its half of the word applied.
    uint8_t Read(uint64_t byteAddress, uint8_t stored) const;

private:
    std::vector<std::pair<int, bool>> m_Stuck;
    std::vector<std::pair<int, int>> m_Shorts;
};

} // namespace vboard
