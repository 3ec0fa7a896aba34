#include "tests/virtualboard/FirmwareTestSupport.h"
#include "virtualboard/SdCard.h"

#include <gtest/gtest.h>

namespace
{

using namespace vboard;
using vboardtest::Concat;
using vboardtest::Exchange;
using vboardtest::Get32;
using vboardtest::Le32;

std::vector<uint8_t> MemoryReadRequest(uint8_t type, uint32_t address, uint32_t count)
{
    return Concat({{type}, Le32(address), Le32(count)});
}

std::vector<uint8_t> MemoryWriteRequest(uint8_t type, uint32_t address,
                                        const std::vector<uint8_t>& data)
{
    return Concat({{type}, Le32(address), data});
}

std::vector<uint8_t> UartWriteRequest(uint8_t device, const std::string& text, uint8_t count)
{
    std::vector<uint8_t> payload(130, 0);
    payload[0] = device;
    payload[1] = count;
    std::copy(text.begin(), text.end(), payload.begin() + 2);
    return payload;
}

TEST(Firmware, AnswersPingAndBoardNameWithTheExactFrames)
{
    TFirmware firmware;
    const std::vector<uint8_t> ping = {0xAA, 0x01, 0x00, 0x00, 0x01, 0x55};
    const auto replies = firmware.Receive(ping.data(), ping.size());
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], (std::vector<uint8_t>{0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0x55}));

    const auto name = Exchange(firmware, CMD_QUERY_BOARD_NAME);
    ASSERT_EQ(name.size(), 33u);
    EXPECT_EQ(name[0], STATUS_OK);
    EXPECT_STREQ(reinterpret_cast<const char*>(name.data() + 1), "HX9");
    EXPECT_EQ(name[32], 0) << "the name field keeps a terminating NUL";
}

TEST(Firmware, LedsAndDigitsHoldWhatThePcWrote)
{
    TFirmware firmware;
    EXPECT_EQ(Exchange(firmware, CMD_SET_LED, Le32(0x0002A5F0)), std::vector<uint8_t>{STATUS_OK});
    EXPECT_EQ(firmware.Outputs().Leds, 0x0002A5F0u);
    // Only 18 LEDs exist; higher bits drive nothing.
    Exchange(firmware, CMD_SET_LED, Le32(0xFFFFFFFF));
    EXPECT_EQ(firmware.Outputs().Leds, 0x3FFFFu);

    EXPECT_EQ(Exchange(firmware, CMD_SET_SEG7, Concat({Le32(0x0000BEEF), {0x7}})),
              std::vector<uint8_t>{STATUS_OK});
    EXPECT_EQ(firmware.Outputs().DigitWord, 0xBEEFu);
    EXPECT_EQ(firmware.Outputs().DigitExtra, 0x7);
}

TEST(Firmware, KeyAndSwitchWordsCarryOtherBitsThePcMustMask)
{
    TFirmware firmware;
    firmware.Inputs().Keys = 0xA;
    firmware.Inputs().Switches = 0x201;
    const auto reply = Exchange(firmware, CMD_QUERY_BUTTON_SWITCH);
    ASSERT_EQ(reply.size(), 13u);
    EXPECT_EQ(reply[0], STATUS_OK);
    const uint32_t keyWord = Get32(reply, 1);
    const uint32_t switchWord = Get32(reply, 5);
    EXPECT_EQ(keyWord & BUTTON_KEY_MASK, 0xAu);
    EXPECT_EQ(switchWord & BUTTON_SWITCH_MASK, 0x201u);
    EXPECT_NE(keyWord & ~BUTTON_KEY_MASK, 0u);
    EXPECT_NE(switchWord & ~BUTTON_SWITCH_MASK, 0u);
    EXPECT_EQ(((switchWord & 0x3FF) << 4) | (keyWord & 0xF), 0x201Au);

    firmware.Inputs().Keys = 0;
    const auto next = Exchange(firmware, CMD_QUERY_BUTTON_SWITCH);
    EXPECT_EQ(Get32(next, 1) & BUTTON_KEY_MASK, 0u);
    EXPECT_EQ(Get32(next, 9), Get32(reply, 9) + 1) << "the spare word counts polls";
}

TEST(Firmware, MemoriesKeepWrittenDataAndReadUntouchedBytesAsFill)
{
    TFirmware firmware;
    const std::vector<uint8_t> data = {1, 2, 3, 4, 5};
    const uint32_t high = static_cast<uint32_t>(LPDDR2_SIZE_BYTES - data.size());
    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_WRITE, MemoryWriteRequest(MEM_TYPE_LPDDR2, high, data)),
              std::vector<uint8_t>{STATUS_OK});
    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_LPDDR2, high - 1, 6)),
              (std::vector<uint8_t>{STATUS_OK, MEMORY_FILL, 1, 2, 3, 4, 5}));
    EXPECT_EQ(firmware.Memory(MEM_TYPE_LPDDR2)->AllocatedBytes(), TSparseMemory::PAGE_SIZE);

    // A write straddling a page boundary lands in both pages.
    const uint32_t edge = TSparseMemory::PAGE_SIZE - 2;
    Exchange(firmware, CMD_MEMORY_WRITE, MemoryWriteRequest(MEM_TYPE_SRAM, edge, {9, 8, 7, 6}));
    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_SRAM, edge, 4)),
              (std::vector<uint8_t>{STATUS_OK, 9, 8, 7, 6}));
    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_LPDDR2, edge, 4)),
              (std::vector<uint8_t>{STATUS_OK, MEMORY_FILL, MEMORY_FILL, MEMORY_FILL, MEMORY_FILL}))
        << "the two memories are separate";
}

TEST(Firmware, LargestReadFillsOneReplyAndOneByteMoreIsRefused)
{
    TFirmware firmware;
    std::vector<uint8_t> data(32743);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    // 5 + 32743 bytes: the largest request payload there is.
    EXPECT_EQ(
        Exchange(firmware, CMD_MEMORY_WRITE, MemoryWriteRequest(MEM_TYPE_LPDDR2, 0x1000, data)),
        std::vector<uint8_t>{STATUS_OK});
    const auto reply =
        Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_LPDDR2, 0x1000, 32747));
    ASSERT_EQ(reply.size(), 32748u);
    EXPECT_EQ(reply[0], STATUS_OK);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), reply.begin() + 1));
    EXPECT_EQ(reply[32744], MEMORY_FILL);

    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_LPDDR2, 0, 32748)),
              std::vector<uint8_t>{STATUS_OUT_OF_RANGE});
}

TEST(Firmware, RefusedMemoryRequestsKeepTheReplyLengthThePcExpects)
{
    TFirmware firmware;
    const uint32_t sramEnd = SRAM_SIZE_BYTES;
    auto past =
        Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_SRAM, sramEnd - 2, 4));
    EXPECT_EQ(past, (std::vector<uint8_t>{STATUS_OUT_OF_RANGE, 0, 0, 0, 0}));
    auto unknown = Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(3, 0, 2));
    EXPECT_EQ(unknown, (std::vector<uint8_t>{STATUS_UNKNOWN_MEMORY, 0, 0}));
    // An address near 4 GiB must not wrap around to the start.
    auto wrap =
        Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_LPDDR2, 0xFFFFFFFF, 2));
    EXPECT_EQ(wrap[0], STATUS_OUT_OF_RANGE);

    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_WRITE,
                       MemoryWriteRequest(MEM_TYPE_SRAM, sramEnd - 1, {1, 2})),
              std::vector<uint8_t>{STATUS_OUT_OF_RANGE});
    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_WRITE, MemoryWriteRequest(9, 0, {1})),
              std::vector<uint8_t>{STATUS_UNKNOWN_MEMORY});
    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_WRITE, MemoryWriteRequest(MEM_TYPE_ADC, 0, {1})),
              std::vector<uint8_t>{STATUS_READ_ONLY});
    EXPECT_EQ(firmware.Memory(MEM_TYPE_SRAM)->AllocatedBytes(), 0u)
        << "a refused write stores nothing";
}

TEST(Firmware, AdcBlockIsEightLittleEndianMillivoltValues)
{
    TFirmware firmware;
    firmware.Inputs().AdcMillivolts = {3300, 0, 1, 999, 1000, 1234, 4095, 2048};
    const auto reply = Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_ADC, 0, 16));
    ASSERT_EQ(reply.size(), 17u);
    EXPECT_EQ(reply[0], STATUS_OK);
    EXPECT_EQ(reply[1], 0xE4);
    EXPECT_EQ(reply[2], 0x0C);
    for (size_t ch = 0; ch < ADC_CHANNEL_COUNT; ++ch)
        EXPECT_EQ(reply[1 + 2 * ch] | (reply[2 + 2 * ch] << 8),
                  firmware.Inputs().AdcMillivolts[ch]);
    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_ADC, 14, 2)),
              (std::vector<uint8_t>{STATUS_OK, 0x00, 0x08}));
    EXPECT_EQ(Exchange(firmware, CMD_MEMORY_READ, MemoryReadRequest(MEM_TYPE_ADC, 8, 16))[0],
              STATUS_OUT_OF_RANGE);
}

TEST(Firmware, SdCardReplyPlacesRegistersFileSystemAndFlag)
{
    TFirmware firmware;
    const TSdCard& card = firmware.Inputs().SdCard;
    const auto reply = Exchange(firmware, CMD_QUERY_SDCARD_INFO);
    ASSERT_EQ(reply.size(), 37u);
    EXPECT_EQ(reply[0], STATUS_OK);
    EXPECT_TRUE(std::equal(card.Csd.begin(), card.Csd.end(), reply.begin() + 1));
    EXPECT_TRUE(std::equal(card.Cid.begin(), card.Cid.end(), reply.begin() + 18));
    EXPECT_EQ(reply[35], SD_FS_FAT32);
    EXPECT_EQ(reply[36], 1);

    firmware.Inputs().SdCard.Present = false;
    const auto absent = Exchange(firmware, CMD_QUERY_SDCARD_INFO);
    ASSERT_EQ(absent.size(), 37u);
    EXPECT_EQ(absent[0], STATUS_NO_CARD);
}

TEST(SdCard, DefaultCardsDecodeToTheirAdvertisedSizes)
{
    // The PC's capacity rules, applied to the registers this board reports.
    const TSdCard sdhc = MakeHighCapacityCard();
    EXPECT_EQ(sdhc.Csd[0] >> 6, 1);
    const uint32_t c2 = (sdhc.Csd[7] & 0x3F) * 65536u + sdhc.Csd[8] * 256u + sdhc.Csd[9];
    EXPECT_EQ(c2 >> 1, 7579u);
    EXPECT_EQ(sdhc.Csd[5] & 0x0F, 9);

    const TSdCard sdsc = MakeStandardCapacityCard();
    EXPECT_EQ(sdsc.Csd[0] >> 6, 0);
    const uint32_t c1 = (sdsc.Csd[6] & 0x03) * 1024u + sdsc.Csd[7] * 4u + (sdsc.Csd[8] >> 6);
    const uint32_t m = (sdsc.Csd[9] & 0x03) * 2u + (sdsc.Csd[10] >> 7);
    const uint32_t blockLength = 1u << (sdsc.Csd[5] & 0x0F);
    const uint32_t size = (c1 + 1) * (1u << (m + 2)) * blockLength;
    EXPECT_EQ((size + 0xFFFFF) >> 20, 1920u);
    EXPECT_EQ(std::string(sdsc.Cid.begin() + 3, sdsc.Cid.begin() + 8), "VSD02");
    EXPECT_EQ(sdsc.Cid[13] & 0x0F, 1); // made in 2018, September: date code 129
    EXPECT_EQ(sdsc.Cid[14], 0x29);
}

TEST(SdCard, RegistersEndInTheirCrc7)
{
    // Known command frames: CMD0 and CMD8 with argument 0x1AA.
    const uint8_t cmd0[] = {0x40, 0, 0, 0, 0};
    const uint8_t cmd8[] = {0x48, 0, 0, 0x01, 0xAA};
    EXPECT_EQ(Crc7(cmd0, sizeof(cmd0)), 0x4A);
    EXPECT_EQ(Crc7(cmd8, sizeof(cmd8)), 0x43);
    for (const TSdCard& card : {MakeHighCapacityCard(), MakeStandardCapacityCard()})
    {
        EXPECT_EQ(card.Cid[15], (RegisterCrc7(card.Cid) << 1) | 1);
        EXPECT_EQ(card.Csd[15], (RegisterCrc7(card.Csd) << 1) | 1);
    }
}

TEST(Firmware, UartMovesBytesOnlyWhileStarted)
{
    TFirmware firmware;
    EXPECT_EQ(Exchange(firmware, CMD_UART_WRITE, UartWriteRequest(DEVICE_UART_USB, "abc", 4)),
              std::vector<uint8_t>{STATUS_DEVICE_STOPPED});
    EXPECT_EQ(Exchange(firmware, CMD_UART_READ, {DEVICE_UART_USB})[0], STATUS_DEVICE_STOPPED);

    EXPECT_EQ(Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_UART_USB, DEVICE_ACTION_START, 0}),
              std::vector<uint8_t>{STATUS_OK});
    EXPECT_EQ(Exchange(firmware, CMD_UART_WRITE, UartWriteRequest(DEVICE_UART_USB, "abc", 4)),
              std::vector<uint8_t>{STATUS_OK});
    EXPECT_EQ(firmware.Outputs().UartSent, (std::vector<uint8_t>{'a', 'b', 'c', 0}));
    EXPECT_EQ(Exchange(firmware, CMD_UART_WRITE, UartWriteRequest(DEVICE_UART_USB, "", 129)),
              std::vector<uint8_t>{STATUS_BAD_ARGUMENT});
    EXPECT_EQ(Exchange(firmware, CMD_UART_WRITE, UartWriteRequest(DEVICE_HDMI_TX, "x", 1)),
              std::vector<uint8_t>{STATUS_UNKNOWN_DEVICE});
    EXPECT_EQ(firmware.Outputs().UartSent.size(), 4u) << "refused writes add nothing";

    for (int i = 0; i < 300; ++i)
        firmware.Outputs().UartToReceive.push_back(static_cast<uint8_t>(i));
    std::vector<size_t> counts;
    std::vector<uint8_t> received;
    for (int poll = 0; poll < 4; ++poll)
    {
        const auto reply = Exchange(firmware, CMD_UART_READ, {DEVICE_UART_USB});
        ASSERT_EQ(reply.size(), 130u);
        EXPECT_EQ(reply[0], STATUS_OK);
        counts.push_back(reply[1]);
        received.insert(received.end(), reply.begin() + 2, reply.begin() + 2 + reply[1]);
    }
    EXPECT_EQ(counts, (std::vector<size_t>{128, 128, 44, 0}));
    ASSERT_EQ(received.size(), 300u);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(received[i], static_cast<uint8_t>(i));

    Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_UART_USB, DEVICE_ACTION_STOP, 0});
    EXPECT_FALSE(firmware.Outputs().UartRunning);
}

TEST(Firmware, UartRefusesToOverflowItsBufferInsteadOfLosingBytes)
{
    TFirmware firmware;
    Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_UART_USB, DEVICE_ACTION_START, 0});
    firmware.Outputs().UartSent.assign(UART_BUFFER_LIMIT - 2, 'x');
    EXPECT_EQ(Exchange(firmware, CMD_UART_WRITE, UartWriteRequest(DEVICE_UART_USB, "abc", 3)),
              std::vector<uint8_t>{STATUS_BUFFER_FULL});
    EXPECT_EQ(firmware.Outputs().UartSent.size(), UART_BUFFER_LIMIT - 2);
}

TEST(Firmware, DeviceControlDrivesHdmiAndRefusesWhatItDoesNotKnow)
{
    TFirmware firmware;
    EXPECT_EQ(Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_HDMI_TX, DEVICE_ACTION_START, 0}),
              std::vector<uint8_t>{STATUS_OK});
    EXPECT_EQ(
        Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN, 8}),
        std::vector<uint8_t>{STATUS_OK});
    EXPECT_TRUE(firmware.Outputs().HdmiRunning);
    EXPECT_EQ(firmware.Outputs().HdmiPattern, 8);
    EXPECT_EQ(
        Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN, 9}),
        std::vector<uint8_t>{STATUS_BAD_ARGUMENT});
    EXPECT_EQ(firmware.Outputs().HdmiPattern, 8);
    EXPECT_EQ(Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_HDMI_TX, 3, 0}),
              std::vector<uint8_t>{STATUS_UNKNOWN_ACTION});
    EXPECT_EQ(
        Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_UART_USB, DEVICE_ACTION_HDMI_PATTERN, 0}),
        std::vector<uint8_t>{STATUS_UNKNOWN_ACTION});
    EXPECT_EQ(Exchange(firmware, CMD_DEVICE_CONTROL, {7, DEVICE_ACTION_START, 0}),
              std::vector<uint8_t>{STATUS_UNKNOWN_DEVICE});
}

TEST(Firmware, HsmcReplyCarriesTheFailingBitWords)
{
    TFirmware firmware;
    auto pass = Exchange(firmware, CMD_HSMC_LOOPBACK_TEST, {0, 0x12, 0x34, 0x56, 0x78});
    EXPECT_EQ(pass, std::vector<uint8_t>(17, 0));
    firmware.Inputs().HsmcA = 0x1;
    firmware.Inputs().HsmcB = 0x20001;
    firmware.Inputs().HsmcC = 0x1F;
    firmware.Inputs().HsmcD = 0x5;
    const auto fail = Exchange(firmware, CMD_HSMC_LOOPBACK_TEST, {0, 0, 0, 0, 0});
    ASSERT_EQ(fail.size(), 17u);
    EXPECT_EQ(fail[0], STATUS_OK);
    EXPECT_EQ(Get32(fail, 1), 0x1u);
    EXPECT_EQ(Get32(fail, 5), 0x20001u);
    EXPECT_EQ(Get32(fail, 9), 0x1Fu);
    EXPECT_EQ(Get32(fail, 13), 0x5u);
    const auto otherTest = Exchange(firmware, CMD_HSMC_LOOPBACK_TEST, {1, 0, 0, 0, 0});
    ASSERT_EQ(otherTest.size(), 17u);
    EXPECT_EQ(otherTest[0], STATUS_BAD_ARGUMENT);
}

// Every command refuses a payload of the wrong length with a non-zero status, in a reply
// of the length the PC expects for that command, so its length check passes.
TEST(Firmware, WrongRequestLengthsGetAStatusInTheCommandsReplyLength)
{
    struct TCase
    {
        uint8_t Code;
        size_t BadLength;
        size_t ReplyLength;
    };
    const TCase cases[] = {
        {CMD_QUERY_BOARD_NAME, 1, 33},
        {CMD_PING, 2, 1},
        {CMD_SET_LED, 3, 1},
        {CMD_SET_LED, 5, 1},
        {CMD_QUERY_BUTTON_SWITCH, 4, 13},
        {CMD_SET_SEG7, 4, 1},
        {CMD_QUERY_SDCARD_INFO, 1, 37},
        {CMD_MEMORY_WRITE, 4, 1},
        {CMD_MEMORY_READ, 8, 1},
        {CMD_MEMORY_READ, 10, 1},
        {CMD_UART_WRITE, 129, 1},
        {CMD_UART_READ, 0, 130},
        {CMD_UART_READ, 2, 130},
        {CMD_DEVICE_CONTROL, 2, 1},
        {CMD_HSMC_LOOPBACK_TEST, 4, 17},
    };
    for (const TCase& c : cases)
    {
        TFirmware firmware;
        const auto reply = Exchange(firmware, c.Code, std::vector<uint8_t>(c.BadLength, 0));
        ASSERT_EQ(reply.size(), c.ReplyLength) << "command " << int(c.Code);
        EXPECT_EQ(reply[0], STATUS_BAD_LENGTH) << "command " << int(c.Code);
        EXPECT_EQ(firmware.Outputs().Leds, LED_MASK);
    }
}

TEST(Firmware, UnknownCommandGetsAOneByteStatusEchoingItsCode)
{
    TFirmware firmware;
    for (uint8_t code : {2, 9, 54, 255})
        EXPECT_EQ(Exchange(firmware, code, {1, 2, 3}),
                  std::vector<uint8_t>{STATUS_UNKNOWN_COMMAND});
}

TEST(Firmware, RestartClearsWhatTheFirmwareDrivesAndKeepsTheInputs)
{
    TFirmware firmware;
    firmware.Inputs().Keys = 0x3;
    firmware.Inputs().AdcMillivolts[0] = 1234;
    Exchange(firmware, CMD_SET_LED, Le32(0xFF));
    Exchange(firmware, CMD_DEVICE_CONTROL, {DEVICE_UART_USB, DEVICE_ACTION_START, 0});
    Exchange(firmware, CMD_MEMORY_WRITE, MemoryWriteRequest(MEM_TYPE_LPDDR2, 0, {0x42}));
    const std::vector<uint8_t> partial = {0xAA, CMD_PING, 0x00};
    firmware.Receive(partial.data(), partial.size());

    firmware.Restart();
    EXPECT_EQ(firmware.Outputs().Leds, LED_MASK);
    EXPECT_FALSE(firmware.Outputs().UartRunning);
    EXPECT_EQ(firmware.Memory(MEM_TYPE_LPDDR2)->AllocatedBytes(), 0u);
    EXPECT_EQ(firmware.Reader().PendingBytes(), 0u);
    EXPECT_EQ(firmware.Inputs().Keys, 0x3u);
    EXPECT_EQ(firmware.Inputs().AdcMillivolts[0], 1234);
}

} // namespace
