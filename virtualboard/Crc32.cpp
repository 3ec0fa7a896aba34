#include "virtualboard/Crc32.h"

#include <array>

namespace vboard
{

namespace
{

constexpr std::array<uint32_t, 256> MakeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i)
    {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> CRC_TABLE = MakeTable();

} // namespace

uint32_t Crc32(const uint8_t* bytes, size_t count, uint32_t crc)
{
    crc = ~crc;
    for (size_t i = 0; i < count; ++i)
        crc = CRC_TABLE[(crc ^ bytes[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

} // namespace vboard
