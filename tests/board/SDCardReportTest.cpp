#include "board/SDCardReport.h"

#include <QStringList>
#include <array>
#include <gtest/gtest.h>

namespace
{
using Register = std::array<uint8_t, SD_REGISTER_LEN>;

// A version 1.0 CSD with the capacity fields C_SIZE, C_SIZE_MULT and READ_BL_LEN set.
Register CsdV1(uint32_t cSize, uint32_t multiplier, uint8_t blockExponent, uint8_t top = 0x00)
{
    Register r{};
    r[0] = top;
    r[1] = 0x26;
    r[3] = 0x32;
    r[5] = blockExponent;
    r[6] = static_cast<uint8_t>(cSize >> 10 & 0x3);
    r[7] = static_cast<uint8_t>(cSize >> 2);
    r[8] = static_cast<uint8_t>((cSize & 0x3) << 6);
    r[9] = static_cast<uint8_t>(multiplier >> 1 & 0x3);
    r[10] = static_cast<uint8_t>((multiplier & 0x1) << 7);
    return r;
}

QString Line(const QString& report, const char* prefix)
{
    for (const QString& line : report.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String(prefix)))
            return line;
    return QString();
}

TEST(SDCardReportTest, CidReport)
{
    const Register cid{0x03, 0x53, 0x44, 'S',  'U',  '0',  '2',  'G',
                       0x80, 0x12, 0x34, 0x56, 0x78, 0xF1, 0x2C, 0x01};
    EXPECT_EQ(FormatCID(cid), QStringLiteral("-Manufacturer ID:03h\n"
                                             "-OEM/Application ID:4453h\n"
                                             "-Product Name:SU02G\n"
                                             "-Product Revision:80h\n"
                                             "-Serial No.:12345678h\n"
                                             "-Date Code:12Ch\n"));
}

TEST(SDCardReportTest, CidNameWithControlBytesKeepsTheReportsLines)
{
    const Register cid{0x00, 0x00, 0x00, 'A', 0x00, '\n', 0x7F, 0xE9};
    const QString report = FormatCID(cid);
    EXPECT_EQ(report.count(QLatin1Char('\n')), 6);
    EXPECT_EQ(Line(report, "-Product Name:"), QStringLiteral("-Product Name:A???\u00E9"));
}

TEST(SDCardReportTest, CsdVersion1Report)
{
    EXPECT_EQ(FormatCSD(CsdV1(3999, 7, 9)),
              QStringLiteral("-CSD Version 1.0\n"
                             "-Read Access Time:1 ms\n"
                             "-Read Access Time (NSAC):0 (x100 cycle) \n"
                             "-Max. Data Transfer Rate:25 Mbits/s\n"
                             "-Max. Read Data Block Length:512 Byte\n"
                             "-Memory Capacity:1000MB\n"));
}

TEST(SDCardReportTest, CsdVersion2Report)
{
    Register r{};
    r[0] = 0x40;
    r[1] = 0x0E;
    r[2] = 0x64;
    r[3] = 0x5A;
    r[5] = 0x59;
    r[7] = 0x00;
    r[8] = 0x3B; // C_SIZE 15159
    r[9] = 0x37;
    EXPECT_EQ(FormatCSD(r), QStringLiteral("-CSD Version 2.0\n"
                                           "-Read Access Time:1000 us\n"
                                           "-Read Access Time (NSAC):100 (x100 cycle) \n"
                                           "-Max. Data Transfer Rate:50 Mbits/s\n"
                                           "-Max. Read Data Block Length:512 Byte\n"
                                           "-Memory Capacity:7579MB\n"));
}

TEST(SDCardReportTest, AccessTimeAndRateUnits)
{
    struct Case
    {
        uint8_t Byte;
        const char* Time;
        const char* Rate;
    };
    const Case cases[] = {
        {0x00, "-Read Access Time:NA", "-Max. Data Transfer Rate:NA"},
        {0x01, "-Read Access Time:0 ns", "-Max. Data Transfer Rate:0 Kbits/s"},
        {0x11, "-Read Access Time:12 ns", "-Max. Data Transfer Rate:1 Mbits/s"},
        {0x78, "-Read Access Time:8 ns", "-Max. Data Transfer Rate:800 Kbits/s"},
        {0x32, "-Read Access Time:250 ns", "-Max. Data Transfer Rate:25 Mbits/s"},
        {0x7F, "-Read Access Time:80 ms", "-Max. Data Transfer Rate:8000000 Mbits/s"},
    };
    for (const Case& c : cases)
    {
        Register r{};
        r[1] = c.Byte;
        r[3] = c.Byte;
        const QString report = FormatCSD(r);
        EXPECT_EQ(Line(report, "-Read Access Time:"), QLatin1String(c.Time)) << int(c.Byte);
        EXPECT_EQ(Line(report, "-Max. Data Transfer Rate:"), QLatin1String(c.Rate)) << int(c.Byte);
    }
}

TEST(SDCardReportTest, Version1CapacitiesOf4GiBAndMoreAreReportedInFull)
{
    // Largest C_SIZE and C_SIZE_MULT: 2^12 × 2^9 blocks of 2 KiB is exactly 4 GiB,
    // which a 32-bit product turns into 0.
    EXPECT_EQ(Line(FormatCSD(CsdV1(4095, 7, 11)), "-Memory Capacity:"),
              QStringLiteral("-Memory Capacity:4096MB"));
    EXPECT_EQ(Line(FormatCSD(CsdV1(4095, 7, 15)), "-Memory Capacity:"),
              QStringLiteral("-Memory Capacity:65536MB"));
    EXPECT_EQ(Line(FormatCSD(CsdV1(4095, 7, 9)), "-Memory Capacity:"),
              QStringLiteral("-Memory Capacity:1024MB"));
}

TEST(SDCardReportTest, LinesLeftOutForZeroExponentAndZeroCapacity)
{
    // 1 × 4 blocks of 1 byte round up to 1 MB; no block-length line.
    const QString tiny = FormatCSD(CsdV1(0, 0, 0));
    EXPECT_TRUE(Line(tiny, "-Max. Read Data Block Length:").isEmpty());
    EXPECT_EQ(Line(tiny, "-Memory Capacity:"), QStringLiteral("-Memory Capacity:1MB"));

    Register v2{};
    v2[0] = 0x40;
    v2[5] = 0x09;
    v2[9] = 0x01; // C_SIZE 1 halves to 0
    EXPECT_TRUE(Line(FormatCSD(v2), "-Memory Capacity:").isEmpty());
}

TEST(SDCardReportTest, TopBits10UseTheVersion1LayoutWithoutAVersionLine)
{
    const QString report = FormatCSD(CsdV1(3999, 7, 9, 0x80));
    EXPECT_FALSE(report.contains(QStringLiteral("CSD Version")));
    EXPECT_TRUE(report.startsWith(QStringLiteral("-Read Access Time:1 ms\n")));
    EXPECT_EQ(Line(report, "-Memory Capacity:"), QStringLiteral("-Memory Capacity:1000MB"));
}
} // namespace
