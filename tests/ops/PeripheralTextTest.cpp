#include "ops/AdcReadout.h"
#include "ops/HdmiPattern.h"
#include "ops/HsmcReport.h"
#include "ops/SDCardText.h"

#include <gtest/gtest.h>

TEST(PeripheralTexts, AdcLinesShowVoltsWithThreeDecimals)
{
    const uint16_t mv[ADC_CHANNEL_COUNT] = {0, 1, 999, 1000, 1234, 3300, 4095, 65535};
    TAdcBlock block{};
    for (uint32_t i = 0; i < ADC_CHANNEL_COUNT; ++i)
    {
        block[2 * i] = static_cast<uint8_t>(mv[i] & 0xFF);
        block[2 * i + 1] = static_cast<uint8_t>(mv[i] >> 8);
    }
    EXPECT_EQ(AdcReadoutText(block),
              "CH0: 0.000 V\r\nCH1: 0.001 V\r\nCH2: 0.999 V\r\nCH3: 1.000 V\r\n"
              "CH4: 1.234 V\r\nCH5: 3.300 V\r\nCH6: 4.095 V\r\nCH7: 65.535 V\r\n");
    block[0] = 0xE4;
    block[1] = 0x0C;
    EXPECT_TRUE(AdcReadoutText(block, "\n").startsWith("CH0: 3.300 V\nCH1"));
}

TEST(PeripheralTexts, HsmcReportListsPinsInBitOrder)
{
    EXPECT_EQ(HsmcReportText(0, 0x1),
              "HSMC Test:NG\r\n<Transceiver Error:>\r\nHSMC Pin 31/29-32/30    \r\n");
    EXPECT_EQ(HsmcReportText((1ull << 0) | (1ull << 40), 0),
              "HSMC Test:NG\r\n<IO Error:>\r\nHSMC Pin 39-40    \r\nHSMC Pin 159-160    \r\n");
    // Bit 11 comes after bit 10 although its pins are lower.
    const QString bits = HsmcReportText((1ull << 10) | (1ull << 11), 0);
    EXPECT_LT(bits.indexOf("89-90"), bits.indexOf("49-50"));
    // Transceiver bits above 3 make a heading without pin lines.
    EXPECT_EQ(HsmcReportText(0, 0xF0), "HSMC Test:NG\r\n<Transceiver Error:>\r\n");
    EXPECT_EQ(HsmcReportText(0, 0x8),
              "HSMC Test:NG\r\n<Transceiver Error:>\r\nHSMC Pin 19/17-20/18    \r\n");
}

TEST(PeripheralTexts, SdCardSectionsAndHdmiNames)
{
    EXPECT_EQ(SDCardReportText("-Manufacturer ID:03h\n", "-CSD Version 2.0\n", "FAT32"),
              "Card Identification\n-Manufacturer ID:03h\nCard Specific Data\n-CSD Version 2.0\n"
              "File System: FAT32\n");
    EXPECT_EQ(FindHdmiPattern(u"Color Scale"), 0);
    EXPECT_EQ(FindHdmiPattern(u"blue-scale"), 8);
    EXPECT_EQ(FindHdmiPattern(u"GREEN"), 2);
    EXPECT_EQ(FindHdmiPattern(u"purple"), -1);
}
