#include "board/SDCardReport.h"

namespace
{
// Time-value multipliers ×10 of the access-time and transfer-rate bytes; index 0 is reserved.
constexpr int TIME_VALUE[16] = {0, 10, 12, 13, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 70, 80};

constexpr int CSD_STRUCTURE_V1 = 0;
constexpr int CSD_STRUCTURE_V2 = 1;
constexpr uint64_t NS_PER_MS = 1000000;
constexpr uint64_t NS_PER_US = 1000;
constexpr uint64_t RATE_UNITS_PER_MBIT = 10; // the rate counts 100 kbit/s
constexpr uint64_t KBITS_PER_RATE_UNIT = 100;
constexpr int MB_SHIFT = 20;
constexpr uint64_t MB_ROUND_UP = (1u << MB_SHIFT) - 1;

// 10^unit × TIME_VALUE[value] / 10 from a byte holding value in bits 3-6 and unit in bits 0-2.
uint64_t ScaledTime(uint8_t byte)
{
    uint64_t scale = 1;
    for (int i = 0; i < (byte & 0x7); ++i)
        scale *= 10;
    return scale * static_cast<uint64_t>(TIME_VALUE[(byte >> 3) & 0xF]) / 10;
}

// Printable form of a raw name byte: a control character would break the report's lines.
char NameChar(uint8_t byte)
{
    return byte < 0x20 || byte == 0x7F ? '?' : static_cast<char>(byte);
}

QString AccessTimeLine(uint8_t byte)
{
    if (byte == 0)
        return QStringLiteral("-Read Access Time:NA\n");
    const uint64_t t = ScaledTime(byte);
    if (t > NS_PER_MS)
        return QString::asprintf("-Read Access Time:%d ms\n", static_cast<int>(t / NS_PER_MS));
    if (t > NS_PER_US)
        return QString::asprintf("-Read Access Time:%d us\n", static_cast<int>(t / NS_PER_US));
    return QString::asprintf("-Read Access Time:%d ns\n", static_cast<int>(t));
}

QString TransferRateLine(uint8_t byte)
{
    if (byte == 0)
        return QStringLiteral("-Max. Data Transfer Rate:NA\n");
    const uint64_t r = ScaledTime(byte);
    if (r < RATE_UNITS_PER_MBIT)
        return QString::asprintf("-Max. Data Transfer Rate:%d Kbits/s\n",
                                 static_cast<int>(r * KBITS_PER_RATE_UNIT));
    return QString::asprintf("-Max. Data Transfer Rate:%d Mbits/s\n",
                             static_cast<int>(r / RATE_UNITS_PER_MBIT));
}

// Version 2.0: C_SIZE counts 512 KiB units, halved to MB as the board's tools report it.
uint64_t CapacityV2(std::span<const uint8_t, SD_REGISTER_LEN> reg)
{
    const uint64_t c = static_cast<uint64_t>(reg[7] & 0x3F) << 16 | reg[8] << 8 | reg[9];
    return c >> 1;
}

// Version 1.0: (C_SIZE + 1) × 2^(C_SIZE_MULT + 2) blocks; in 64 bits, since the largest
// cards reach 4 GiB and more, which a 32-bit product would report as nothing.
uint64_t CapacityV1(std::span<const uint8_t, SD_REGISTER_LEN> reg, uint64_t blockLength)
{
    const uint64_t c = (reg[6] & 0x03) << 10 | reg[7] << 2 | reg[8] >> 6;
    const uint64_t m = (reg[9] & 0x03) << 1 | reg[10] >> 7;
    const uint64_t size = ((c + 1) << (m + 2)) * blockLength;
    return (size + MB_ROUND_UP) >> MB_SHIFT;
}
} // namespace

QString FormatCID(std::span<const uint8_t, SD_REGISTER_LEN> reg)
{
    QString text;
    text += QString::asprintf("-Manufacturer ID:%02Xh\n", reg[0]);
    text += QString::asprintf("-OEM/Application ID:%02X%02Xh\n", reg[2], reg[1]);
    text += QString::asprintf("-Product Name:%c%c%c%c%c\n", NameChar(reg[3]), NameChar(reg[4]),
                              NameChar(reg[5]), NameChar(reg[6]), NameChar(reg[7]));
    text += QString::asprintf("-Product Revision:%02Xh\n", reg[8]);
    text += QString::asprintf("-Serial No.:%02X%02X%02X%02Xh\n", reg[9], reg[10], reg[11], reg[12]);
    text += QString::asprintf("-Date Code:%01X%02Xh\n", reg[13] & 0xF, reg[14]);
    return text;
}

QString FormatCSD(std::span<const uint8_t, SD_REGISTER_LEN> reg)
{
    QString text;
    const int structure = reg[0] >> 6;
    if (structure == CSD_STRUCTURE_V1)
        text += QStringLiteral("-CSD Version 1.0\n");
    else if (structure == CSD_STRUCTURE_V2)
        text += QStringLiteral("-CSD Version 2.0\n");
    text += AccessTimeLine(reg[1]);
    text += QString::asprintf("-Read Access Time (NSAC):%d (x100 cycle) \n", reg[2]);
    text += TransferRateLine(reg[3]);

    const int blockExponent = reg[5] & 0xF;
    const uint64_t blockLength = uint64_t{1} << blockExponent;
    const uint64_t capacity =
        structure == CSD_STRUCTURE_V2 ? CapacityV2(reg) : CapacityV1(reg, blockLength);
    if (blockExponent != 0)
        text += QString::asprintf("-Max. Read Data Block Length:%d Byte\n",
                                  static_cast<int>(blockLength));
    if (capacity != 0)
        text += QString::asprintf("-Memory Capacity:%lluMB\n",
                                  static_cast<unsigned long long>(capacity));
    return text;
}
