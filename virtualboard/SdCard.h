#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vboard
{

// The card in the board's SD slot as the firmware reports it: the CID and CSD registers
// (16 bytes each, most significant byte first), the file-system code (1 FAT16, 2 FAT32)
// and the flag byte, which this firmware sets for high-capacity cards.
struct TSdCard
{
    using TRegister = std::array<uint8_t, 16>;

    bool Present = true;
    TRegister Cid{};
    TRegister Csd{};
    uint8_t FileSystem = 0;
    uint8_t Flag = 0;
};

constexpr uint8_t SD_FS_FAT16 = 1;
constexpr uint8_t SD_FS_FAT32 = 2;

/// An 8 GB high-capacity card: CSD version 2.0, FAT32.
TSdCard MakeHighCapacityCard();

/// A 2 GB standard-capacity card: CSD version 1.0, FAT16.
TSdCard MakeStandardCapacityCard();

/// The SD 7-bit CRC (x^7 + x^3 + 1) of count bytes.
uint8_t Crc7(const uint8_t* bytes, size_t count);

/// The CRC that ends a CID or CSD register, over its first 15 bytes.
uint8_t RegisterCrc7(const TSdCard::TRegister& reg);

} // namespace vboard
