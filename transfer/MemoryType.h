#pragma once

#include "protocol/Commands.h"

#include <QString>
#include <QStringView>
#include <cstdint>

// One memory of the memory panel's type list: its name, its code on the wire and its size.
struct TMemoryType
{
    const char* Name;
    uint8_t Code;
    uint32_t SizeBytes;

    /// Size in 16-bit words (W); every address and length the user types counts these.
    uint32_t Words() const { return SizeBytes >> 1; }
};

inline constexpr int MEMORY_TYPE_LPDDR2 = 0;
inline constexpr int MEMORY_TYPE_SRAM = 1;
inline constexpr int MEMORY_TYPE_COUNT = 2;

/// The type at a list position (0 LPDDR2, 1 SRAM); the position must be below MEMORY_TYPE_COUNT.
const TMemoryType& MemoryTypeAt(int index);
/// List position of the type whose name matches without regard to case; -1 when none does.
int FindMemoryType(QStringView name);
/// The list caption, e.g. "SRAM (40000h WORDS, 512 KB)": Bytes, KB, MB or GB by the size.
QString MemoryTypeCaption(const char* name, uint32_t sizeBytes);
/// "0" once per hex digit of W - 1: what the check boxes put in an address field.
QString ZeroAddressText(const TMemoryType& type);
/// W in "%X": what the check boxes put in a length field.
QString FullLengthText(const TMemoryType& type);
