#include "transfer/MemoryType.h"

#include "board/Board.h"

#include <array>

namespace
{

const std::array<TMemoryType, MEMORY_TYPE_COUNT> MEMORY_TYPES = {{
    {"LPDDR2", MEM_TYPE_LPDDR2, LPDDR2_SIZE_BYTES},
    {"SRAM", MEM_TYPE_SRAM, SRAM_SIZE_BYTES},
}};

// Caption unit thresholds: below 1 KB in bytes, below 1 MB in KB, below 1 GB in MB.
constexpr uint32_t KB_THRESHOLD = 0x400;
constexpr uint32_t MB_THRESHOLD = 0x100000;
constexpr uint32_t GB_THRESHOLD = 0x40000000;

} // namespace

const TMemoryType& MemoryTypeAt(int index)
{
    return MEMORY_TYPES.at(static_cast<std::size_t>(index));
}

int FindMemoryType(QStringView name)
{
    for (int i = 0; i < MEMORY_TYPE_COUNT; ++i)
    {
        if (name.compare(QLatin1String(MEMORY_TYPES[i].Name), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString MemoryTypeCaption(const char* name, uint32_t sizeBytes)
{
    const unsigned words = sizeBytes / 2;
    if (sizeBytes < KB_THRESHOLD)
        return QString::asprintf("%s (%Xh WORDS, %d Bytes)", name, words,
                                 static_cast<int>(sizeBytes));
    if (sizeBytes < MB_THRESHOLD)
        return QString::asprintf("%s (%Xh WORDS, %d KB)", name, words,
                                 static_cast<int>(sizeBytes >> 10));
    if (sizeBytes < GB_THRESHOLD)
        return QString::asprintf("%s (%Xh WORDS, %d MB)", name, words,
                                 static_cast<int>(sizeBytes >> 20));
    return QString::asprintf("%s (%Xh WORDS, %d GB)", name, words,
                             static_cast<int>(sizeBytes >> 30));
}

QString ZeroAddressText(const TMemoryType& type)
{
    const int digits = static_cast<int>(QString::number(type.Words() - 1, 16).size());
    return QString(digits, QLatin1Char('0'));
}

QString FullLengthText(const TMemoryType& type)
{
    return QString::asprintf("%X", type.Words());
}
