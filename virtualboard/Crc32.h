#pragma once

#include <cstddef>
#include <cstdint>

namespace vboard
{

/// The common CRC-32 (reflected, polynomial 0xEDB88320); continue a running value via crc.
uint32_t Crc32(const uint8_t* bytes, size_t count, uint32_t crc = 0);

} // namespace vboard
