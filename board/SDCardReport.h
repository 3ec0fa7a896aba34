#pragma once

#include <QString>
#include <cstdint>
#include <span>

// SD card CID and CSD registers are 16 bytes, most significant byte first.
inline constexpr std::size_t SD_REGISTER_LEN = 16;

/// Six-line report of a CID register ("-Manufacturer ID:..\n" ...). Control characters in
/// the product name show as '?' so the report keeps its lines.
QString FormatCID(std::span<const uint8_t, SD_REGISTER_LEN> reg);
/// Multi-line report of a CSD register: version, access time, NSAC, transfer rate, block
/// length and capacity in MB (version 1.0 capacities of 4 GiB and more are reported in full).
QString FormatCSD(std::span<const uint8_t, SD_REGISTER_LEN> reg);
