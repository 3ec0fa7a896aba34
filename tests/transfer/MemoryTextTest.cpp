#include "transfer/MemoryText.h"
#include "transfer/HexField.h"
#include "transfer/HexText.h"
#include "transfer/MemoryType.h"

#include <gtest/gtest.h>

TEST(MemoryTypeText, CaptionsAndFieldTexts)
{
    EXPECT_EQ(MemoryTypeCaption(MemoryTypeAt(0).Name, MemoryTypeAt(0).SizeBytes),
              "LPDDR2 (10000000h WORDS, 512 MB)");
    EXPECT_EQ(MemoryTypeCaption(MemoryTypeAt(1).Name, MemoryTypeAt(1).SizeBytes),
              "SRAM (40000h WORDS, 512 KB)");
    EXPECT_EQ(MemoryTypeCaption("X", 0x3FF), "X (1FFh WORDS, 1023 Bytes)");
    EXPECT_EQ(MemoryTypeCaption("X", 0x400), "X (200h WORDS, 1 KB)");
    EXPECT_EQ(MemoryTypeCaption("X", 0x100000), "X (80000h WORDS, 1 MB)");
    EXPECT_EQ(MemoryTypeCaption("X", 0x40000000), "X (20000000h WORDS, 1 GB)");

    EXPECT_EQ(ZeroAddressText(MemoryTypeAt(MEMORY_TYPE_LPDDR2)), "0000000");
    EXPECT_EQ(ZeroAddressText(MemoryTypeAt(MEMORY_TYPE_SRAM)), "00000");
    EXPECT_EQ(FullLengthText(MemoryTypeAt(MEMORY_TYPE_LPDDR2)), "10000000");
    EXPECT_EQ(FindMemoryType(u"sram"), MEMORY_TYPE_SRAM);
    EXPECT_EQ(FindMemoryType(u"ddr"), -1);
}

TEST(ReadHexField, RejectsAnythingButBareHex)
{
    for (const char* text : {"", "12 ", "0x10", "-1", "+1", "G", "12345678901234567"})
    {
        const auto r = ReadHexField(text, "Address", 0xFFFFFFF, 0);
        EXPECT_FALSE(r.Accepted) << text;
        EXPECT_EQ(r.Message, QString("Value '%1' is invalid for 'Address'").arg(text));
    }
    // Leading zeros do not count against the 64 bits.
    EXPECT_TRUE(ReadHexField("00000000000000000001", "Address", 1, 0).Accepted);
    EXPECT_EQ(ReadHexField("ffff", "wDATA", 0xFFFF, 0).Value, 0xFFFFu);
    EXPECT_EQ(ReadHexField("FFFF", "wDATA", 0xFFFF, 0).Value, 0xFFFFu);
}

TEST(ReadHexField, BoundsMessagesTestTheMaximumFirst)
{
    EXPECT_EQ(ReadHexField("10000000", "Address", 0xFFFFFFF, 0).Message,
              "The input value(10000000) for the field 'Address' is expected to less or equal to "
              "FFFFFFFh.");
    EXPECT_TRUE(ReadHexField("3FFFF", "Address", 0x3FFFF, 0).Accepted);
    EXPECT_EQ(ReadHexField("0", "Length", 0x10, 1).Message,
              "The intput value(0) for the field 'Length' is expected to larger or equal to 1h.");
    EXPECT_TRUE(ReadHexField("10", "Length", 0x10, 1).Accepted);
    EXPECT_FALSE(ReadHexField("11", "Length", 0x10, 1).Accepted);
    // A value that breaks both bounds gets the maximum's message.
    EXPECT_NE(ReadHexField("2", "Length", 1, 3).Message.indexOf("less or equal to 1h"), -1);
}

TEST(HexText, DecodesBothCasesInPlaceAndEncodesUpper)
{
    char text[] = "3412aBcD";
    ASSERT_TRUE(HexTextToBytes(text, 8));
    EXPECT_EQ(static_cast<uint8_t>(text[0]), 0x34);
    EXPECT_EQ(static_cast<uint8_t>(text[3]), 0xCD);

    char bad[] = "12\r\n";
    EXPECT_FALSE(HexTextToBytes(bad, 4));

    const uint8_t bytes[] = {0x00, 0x9F, 0xA0};
    char out[6];
    BytesToHexText(bytes, 3, out);
    EXPECT_EQ(std::string(out, 6), "009FA0");
}

TEST(MemoryTexts, ResultLinesCarryNameOutcomeAndSeconds)
{
    EXPECT_EQ(LoadFileResultText("SRAM", TOpResult::Done, 2400),
              "Load SRAM Content to a File Success. (2.4sec)");
    EXPECT_EQ(WriteFileResultText("LPDDR2", TOpResult::Refused, 50),
              "Write a File to LPDDR2 Fail.[0.1sec]");
    EXPECT_EQ(WriteFileResultText("SRAM", TOpResult::Aborted, 50), "Write a File to SRAM Aborted.");
    EXPECT_EQ(RandomWriteResultText("SRAM", true), "SRAM Random Write Success");
    EXPECT_EQ(WordText(5), "0005");
}
