#include "virtualboard/MemoryFaults.h"

namespace vboard
{

namespace
{
constexpr int BYTE_BITS = 8;
constexpr int WORD_ADDRESS_SHIFT = 1; // word address line k is byte address bit k + 1
} // namespace

void TMemoryFaults::StickBit(int bit, bool value)
{
    m_Stuck.emplace_back(bit, value);
}

void TMemoryFaults::ShortLines(int a, int b)
{
    m_Shorts.emplace_back(a, b);
}

void TMemoryFaults::Clear()
{
    m_Stuck.clear();
    m_Shorts.clear();
}

uint64_t TMemoryFaults::Map(uint64_t byteAddress) const
{
    for (const auto& [a, b] : m_Shorts)
    {
        const uint64_t both = (uint64_t{1} << (a + WORD_ADDRESS_SHIFT)) |
                              (uint64_t{1} << (b + WORD_ADDRESS_SHIFT));
        if (byteAddress & both)
            byteAddress |= both;
    }
    return byteAddress;
}

uint8_t TMemoryFaults::Read(uint64_t byteAddress, uint8_t stored) const
{
    // The low byte of a word lies at the even address.
    const int half = static_cast<int>(byteAddress & 1);
    for (const auto& [bit, value] : m_Stuck)
    {
        if (bit / BYTE_BITS != half)
            continue;
        const uint8_t mask = static_cast<uint8_t>(1u << (bit % BYTE_BITS));
        stored = value ? (stored | mask) : (stored & ~mask);
    }
    return stored;
}

} // namespace vboard
