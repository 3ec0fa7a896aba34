#include "virtualboard/MemoryFaults.h"

namespace vboard
{

namespace
{
constexpr int BYTE_BITS = 8;
constexpr int WORD_ADDRESS_SHIFT = 1; // word address line k is byte address bit k + 1
} // namespace

void TMemoryFaults::StickBit(int bit, bool value, std::optional<uint64_t> wordAddress)
{
    m_Stuck.push_back({bit, value, wordAddress});
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
        const uint64_t both =
            (uint64_t{1} << (a + WORD_ADDRESS_SHIFT)) | (uint64_t{1} << (b + WORD_ADDRESS_SHIFT));
        if (byteAddress & both)
            byteAddress |= both;
    }
    return byteAddress;
}

uint8_t TMemoryFaults::Read(uint64_t byteAddress, uint8_t stored) const
{
    // The low byte of a word lies at the even address.
    const int half = static_cast<int>(byteAddress & 1);
    const uint64_t word = byteAddress >> WORD_ADDRESS_SHIFT;
    for (const auto& [bit, value, cell] : m_Stuck)
    {
        if (bit / BYTE_BITS != half || (cell && *cell != word))
            continue;
        const uint8_t mask = static_cast<uint8_t>(1u << (bit % BYTE_BITS));
        stored = value ? (stored | mask) : (stored & ~mask);
    }
    return stored;
}

} // namespace vboard
