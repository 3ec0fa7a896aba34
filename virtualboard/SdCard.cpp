#include "virtualboard/SdCard.h"

#include <cstddef>

namespace vboard
{

namespace
{

// Writes value into register bits [high .. high - width + 1], bit 127 being the top bit
// of byte 0, as the SD register layouts number them.
void SetBits(TSdCard::TRegister& reg, unsigned high, unsigned width, uint32_t value)
{
    for (unsigned i = 0; i < width; ++i)
    {
        const unsigned bit = high - width + 1 + i;
        const size_t byte = 15 - bit / 8;
        const uint8_t mask = static_cast<uint8_t>(1u << (bit % 8));
        if ((value >> i) & 1u)
            reg[byte] = static_cast<uint8_t>(reg[byte] | mask);
        else
            reg[byte] = static_cast<uint8_t>(reg[byte] & ~mask);
    }
}

void Seal(TSdCard::TRegister& reg)
{
    reg[15] = static_cast<uint8_t>((RegisterCrc7(reg) << 1) | 1u);
}

// The board maker's own card: manufacturer 0x5A, OEM "VM", made September 2018.
TSdCard::TRegister MakeCid(const char (&productName)[6], uint32_t serial)
{
    TSdCard::TRegister cid{};
    SetBits(cid, 127, 8, 0x5A);      // MID
    SetBits(cid, 119, 16, 0x564D);   // OID "VM"
    for (unsigned i = 0; i < 5; ++i) // PNM
        SetBits(cid, 103 - 8 * i, 8, static_cast<uint8_t>(productName[i]));
    SetBits(cid, 63, 8, 0x10);             // PRV 1.0
    SetBits(cid, 55, 32, serial);          // PSN
    SetBits(cid, 19, 12, (18u << 4) | 9u); // MDT: year 2000 + 18, month 9
    Seal(cid);
    return cid;
}

// Fields shared by both CSD layouts.
void SetCommonCsd(TSdCard::TRegister& csd, unsigned readBlockExponent)
{
    SetBits(csd, 103, 8, 0x32);  // TRAN_SPEED 25 Mbit/s
    SetBits(csd, 95, 12, 0x5B5); // CCC
    SetBits(csd, 83, 4, readBlockExponent);
    SetBits(csd, 46, 1, 1);    // ERASE_BLK_EN
    SetBits(csd, 45, 7, 0x7F); // SECTOR_SIZE
    SetBits(csd, 28, 3, 2);    // R2W_FACTOR
    SetBits(csd, 25, 4, 9);    // WRITE_BL_LEN
    SetBits(csd, 14, 1, 1);    // COPY
}

} // namespace

uint8_t Crc7(const uint8_t* bytes, size_t count)
{
    uint8_t crc = 0;
    for (size_t i = 0; i < count; ++i)
    {
        for (int bit = 7; bit >= 0; --bit)
        {
            const bool in = ((bytes[i] >> bit) & 1u) != 0;
            const bool top = (crc & 0x40) != 0;
            crc = static_cast<uint8_t>((crc << 1) & 0x7F);
            if (in != top)
                crc ^= 0x09; // x^7 + x^3 + 1
        }
    }
    return crc;
}

uint8_t RegisterCrc7(const TSdCard::TRegister& reg)
{
    return Crc7(reg.data(), reg.size() - 1);
}

TSdCard MakeHighCapacityCard()
{
    // C_SIZE 15159: (15159 + 1) x 512 KB, sold as 8 GB.
    constexpr uint32_t C_SIZE = 15159;
    TSdCard card;
    card.Cid = MakeCid("VSD08", 0x2A41C0DE);
    SetBits(card.Csd, 127, 2, 1);    // CSD version 2.0
    SetBits(card.Csd, 119, 8, 0x0E); // TAAC 1 ms
    SetCommonCsd(card.Csd, 9);
    SetBits(card.Csd, 69, 22, C_SIZE);
    Seal(card.Csd);
    card.FileSystem = SD_FS_FAT32;
    card.Flag = 1;
    return card;
}

TSdCard MakeStandardCapacityCard()
{
    // (3839 + 1) x 2^(7 + 2) x 1024 bytes: a 2 GB card of 1920 MB.
    constexpr uint32_t C_SIZE = 3839;
    constexpr uint32_t C_SIZE_MULT = 7;
    TSdCard card;
    card.Cid = MakeCid("VSD02", 0x0B16F00D);
    SetBits(card.Csd, 127, 2, 0);    // CSD version 1.0
    SetBits(card.Csd, 119, 8, 0x26); // TAAC 1.5 ms
    SetCommonCsd(card.Csd, 10);
    SetBits(card.Csd, 73, 12, C_SIZE);
    SetBits(card.Csd, 61, 3, 7); // VDD_R_CURR_MIN
    SetBits(card.Csd, 58, 3, 7); // VDD_R_CURR_MAX
    SetBits(card.Csd, 55, 3, 6); // VDD_W_CURR_MIN
    SetBits(card.Csd, 52, 3, 6); // VDD_W_CURR_MAX
    SetBits(card.Csd, 49, 3, C_SIZE_MULT);
    Seal(card.Csd);
    card.FileSystem = SD_FS_FAT16;
    card.Flag = 0;
    return card;
}

} // namespace vboard
