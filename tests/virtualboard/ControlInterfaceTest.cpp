#include "virtualboard/ControlInterface.h"
#include "tests/virtualboard/FirmwareTestSupport.h"
#include "tests/virtualboard/TempFile.h"
#include "virtualboard/FpgaImage.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace
{

using namespace vboard;
using vboardtest::Concat;
using vboardtest::Frame;
using vboardtest::Le32;
using vboardtest::TTempFile;

class ControlInterface : public ::testing::Test
{
protected:
    // Runs a request through the board (faults included) and returns the bytes sent back.
    std::vector<uint8_t> Wire(const std::vector<uint8_t>& request, uint64_t now = 0)
    {
        std::vector<uint8_t> bytes;
        for (const TOutgoing& out : m_Board.Receive(request.data(), request.size(), now))
            bytes.insert(bytes.end(), out.Bytes.begin(), out.Bytes.end());
        return bytes;
    }

    void ProgramBoard()
    {
        std::string error;
        ASSERT_TRUE(m_Board.ProgramImage(MakeHx9Image(), error)) << error;
    }

    TVirtualBoard m_Board;
    TControlInterface m_Control{m_Board};
};

TEST_F(ControlInterface, ProgramAcceptsOnlyTheHx9Image)
{
    const std::vector<uint8_t> image = MakeHx9Image();
    std::vector<uint8_t> damaged = image;
    damaged[image.size() / 2] ^= 0x01;
    std::vector<uint8_t> truncated(image.begin(), image.end() - 100);
    std::vector<uint8_t> otherDesign = image;
    otherDesign[12] = 'X';
    const TTempFile good(image), bad(damaged), shortFile(truncated), other(otherDesign),
        text(std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'});

    EXPECT_EQ(m_Control.Execute("program relative.sof"),
              "error image path must be absolute: 'relative.sof'");
    EXPECT_EQ(m_Control.Execute("program /nonexistent/HX9_ControlPanel.sof")
                  .rfind("error cannot read '/nonexistent/HX9_ControlPanel.sof'", 0),
              0u);
    for (const TTempFile* wrong : {&bad, &shortFile, &other, &text})
    {
        const std::string reply = m_Control.Execute("program " + wrong->Path());
        EXPECT_EQ(reply.rfind("error '" + wrong->Path() + "' is not the HX9 image: ", 0), 0u)
            << reply;
        EXPECT_FALSE(m_Board.IsProgrammed());
    }
    EXPECT_EQ(m_Control.Execute("program " + good.Path()), "ok");
    EXPECT_TRUE(m_Board.IsProgrammed());
    EXPECT_NE(m_Control.Execute("status").find("programmed=1"), std::string::npos);
}

TEST_F(ControlInterface, BlankBoardAnswersNothingAndPowerCycleBlanksIt)
{
    EXPECT_TRUE(Wire(Frame(CMD_PING)).empty());
    ProgramBoard();
    EXPECT_EQ(Wire(Frame(CMD_PING)).size(), 7u);
    Wire(Frame(CMD_SET_LED, Le32(0x7)));
    m_Control.Execute("keys 0x5");
    const uint32_t generation = m_Board.Generation();

    EXPECT_EQ(m_Control.Execute("power-cycle"), "ok");
    EXPECT_FALSE(m_Board.IsProgrammed());
    EXPECT_NE(m_Board.Generation(), generation);
    EXPECT_TRUE(Wire(Frame(CMD_PING)).empty());
    ProgramBoard();
    // The outputs are lost with power: the image starts as the panels do.
    EXPECT_EQ(m_Control.Execute("leds"), "ok 0x3ffff");
    EXPECT_EQ(m_Control.Execute("seg7"), "ok digits=8888 word=0x00008888 extra=0x00");
    EXPECT_EQ(m_Control.Execute("keys"), "ok 0x5") << "a held key stays held";
}

TEST_F(ControlInterface, InputsSetHereReachThePc)
{
    ProgramBoard();
    EXPECT_EQ(m_Control.Execute("keys 0x9"), "ok");
    EXPECT_EQ(m_Control.Execute("key 1 down"), "ok");
    EXPECT_EQ(m_Control.Execute("key 0 up"), "ok");
    EXPECT_EQ(m_Control.Execute("switches 0x200"), "ok");
    EXPECT_EQ(m_Control.Execute("switch 0 on"), "ok");
    const auto reply = Wire(Frame(CMD_QUERY_BUTTON_SWITCH));
    ASSERT_EQ(reply.size(), 19u);
    EXPECT_EQ(reply[5] & 0x0F, 0xA);
    EXPECT_EQ((reply[9] | (reply[10] << 8)) & 0x3FF, 0x201);

    EXPECT_EQ(m_Control.Execute("adc 7 3300"), "ok");
    EXPECT_EQ(m_Control.Execute("adc"), "ok 0 585 1170 1755 2340 2925 3510 3300");
    const auto adc = Wire(Frame(CMD_MEMORY_READ, Concat({{MEM_TYPE_ADC}, Le32(14), Le32(2)})));
    EXPECT_EQ(adc[5] | (adc[6] << 8), 3300);
    EXPECT_EQ(m_Control.Execute("adc raw 7 0xffff"), "ok");
    EXPECT_EQ(m_Control.Execute("adc"), "ok 0 585 1170 1755 2340 2925 3510 65535");

    EXPECT_EQ(m_Control.Execute("hsmc fail 0x1 0 0x1f 5"), "ok");
    const auto hsmc = Wire(Frame(CMD_HSMC_LOOPBACK_TEST, {0, 0, 0, 0, 0}));
    EXPECT_EQ(hsmc[5], 0x1);
    EXPECT_EQ(hsmc[13], 0x1F);
    EXPECT_EQ(hsmc[17], 0x5);
    EXPECT_EQ(m_Control.Execute("hsmc pass"), "ok");
    EXPECT_EQ(m_Control.Execute("hsmc"), "ok a=0x00000000 b=0x00000000 c=0x00000000 d=0x00000000");

    EXPECT_EQ(m_Control.Execute("board-name HX8"), "ok");
    const auto name = Wire(Frame(CMD_QUERY_BOARD_NAME));
    EXPECT_EQ(std::string(name.begin() + 5, name.begin() + 8), "HX8");
}

TEST_F(ControlInterface, SdCardCanBeRemovedSwappedAndRewritten)
{
    ProgramBoard();
    EXPECT_EQ(m_Control.Execute("sd present 0"), "ok");
    EXPECT_NE(Wire(Frame(CMD_QUERY_SDCARD_INFO))[4], STATUS_OK);
    EXPECT_EQ(m_Control.Execute("sd present 1"), "ok");
    EXPECT_EQ(m_Control.Execute("sd card sdsc"), "ok");
    auto reply = Wire(Frame(CMD_QUERY_SDCARD_INFO));
    EXPECT_EQ(reply[4], STATUS_OK);
    EXPECT_EQ(reply[5] >> 6, 0) << "CSD version 1.0";
    EXPECT_EQ(reply[4 + 35], SD_FS_FAT16);

    const std::string cid = "5a4d56484c4c4f21108badf00d0129ff";
    EXPECT_EQ(m_Control.Execute("sd cid " + cid), "ok");
    EXPECT_EQ(m_Control.Execute("sd fs 7"), "ok");
    reply = Wire(Frame(CMD_QUERY_SDCARD_INFO));
    EXPECT_EQ(reply[4 + 18], 0x5A);
    EXPECT_EQ(reply[4 + 33], 0xFF);
    EXPECT_EQ(reply[4 + 35], 7);
    EXPECT_NE(m_Control.Execute("sd").find("cid=" + cid), std::string::npos);
    EXPECT_EQ(m_Control.Execute("sd csd 00ff").rfind("error", 0), 0u);
}

TEST_F(ControlInterface, OutputsDrivenByThePcCanBeRead)
{
    ProgramBoard();
    Wire(Frame(CMD_SET_LED, Le32(0x3FF0F)));
    EXPECT_EQ(m_Control.Execute("leds"), "ok 0x3ff0f");
    Wire(Frame(CMD_SET_SEG7, Concat({Le32(0xA5C1), {0}})));
    EXPECT_EQ(m_Control.Execute("seg7"), "ok digits=a5c1 word=0x0000a5c1 extra=0x00");
    Wire(Frame(CMD_DEVICE_CONTROL, {DEVICE_HDMI_TX, DEVICE_ACTION_START, 0}));
    Wire(Frame(CMD_DEVICE_CONTROL, {DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN, 3}));
    EXPECT_EQ(m_Control.Execute("hdmi"), "ok running=1 pattern=3");

    Wire(Frame(CMD_DEVICE_CONTROL, {DEVICE_UART_USB, DEVICE_ACTION_START, 0}));
    std::vector<uint8_t> send(130, 0);
    send[0] = DEVICE_UART_USB;
    send[1] = 4;
    send[2] = 'a';
    send[3] = 'b';
    send[4] = 'c';
    Wire(Frame(CMD_UART_WRITE, send));
    EXPECT_EQ(m_Control.Execute("uart sent"), "ok 61626300");
    EXPECT_EQ(m_Control.Execute("uart clear"), "ok");
    EXPECT_EQ(m_Control.Execute("uart sent"), "ok");

    EXPECT_EQ(m_Control.Execute("uart receive-text hello  world"), "ok");
    EXPECT_EQ(m_Control.Execute("uart receive 00ff"), "ok");
    EXPECT_EQ(m_Control.Execute("uart"), "ok running=1 sent=0 to-receive=14");
    const auto rx = Wire(Frame(CMD_UART_READ, {DEVICE_UART_USB}));
    ASSERT_EQ(rx.size(), 136u);
    EXPECT_EQ(rx[5], 14);
    EXPECT_EQ(std::string(rx.begin() + 6, rx.begin() + 18), "hello  world");
    EXPECT_EQ(rx[19], 0xFF);
}

TEST_F(ControlInterface, MemoryCanBeInspectedAndPreloaded)
{
    ProgramBoard();
    EXPECT_EQ(m_Control.Execute("mem write lpddr2 0x1ffffffe cafe"), "ok");
    EXPECT_EQ(m_Control.Execute("mem read 7 0x1ffffffd 3"), "ok ffcafe");
    EXPECT_EQ(m_Control.Execute("mem read lpddr2 0x1fffffff 2"),
              "error range past the end of the memory");
    EXPECT_EQ(m_Control.Execute("mem write sram 0 0102030405"), "ok");
    const auto read = Wire(Frame(CMD_MEMORY_READ, Concat({{MEM_TYPE_SRAM}, Le32(1), Le32(3)})));
    EXPECT_EQ(std::vector<uint8_t>(read.begin() + 5, read.begin() + 8),
              (std::vector<uint8_t>{2, 3, 4}));
    // CRC-32 of "123456789" is the well-known check value.
    EXPECT_EQ(m_Control.Execute("mem write sram 0x100 313233343536373839"), "ok");
    EXPECT_EQ(m_Control.Execute("mem crc sram 0x100 9"), "ok 0xcbf43926");
    // Refused before any of the 512 MB is read.
    EXPECT_EQ(m_Control.Execute("mem crc lpddr2 0 0x20000001"),
              "error range past the end of the memory");
    EXPECT_EQ(m_Control.Execute("mem write adc 0 00").rfind("error", 0), 0u);
    EXPECT_EQ(m_Control.Execute("mem write sram 0 abc").rfind("error", 0), 0u);
}

TEST_F(ControlInterface, BadCommandsGetAReasonAndChangeNothing)
{
    for (const char* line :
         {"", "frobnicate", "keys 0x10", "keys -1", "switches 0x400", "key 4 down",
          "switch 1 maybe", "adc 8 100", "adc 0 4096", "adc raw 0 65536", "hsmc fail 1 2 3", "sd present 2",
          "mem read flash 0 1", "fault", "fault wobble", "fault delay", "fault junk 10 0",
          "fault stall 1 2", "board-name 0123456789012345678901234567890123"})
    {
        const std::string reply = m_Control.Execute(line);
        EXPECT_EQ(reply.rfind("error ", 0), 0u) << line << " -> " << reply;
    }
    EXPECT_EQ(m_Control.Execute("keys"), "ok 0x0");
    EXPECT_EQ(m_Control.Execute("faults"), "ok none");
    EXPECT_EQ(m_Control.Execute(std::string(TControlInterface::MAX_LINE + 1, 'x')),
              "error line too long");
}

// Each fault turns the reply to a ping into the promised bytes, for as many replies as
// asked, and the exchange after it is clean.
TEST_F(ControlInterface, FaultsChangeExactlyTheNextReplies)
{
    ProgramBoard();
    const std::vector<uint8_t> ping = Frame(CMD_PING);
    const std::vector<uint8_t> clean = {0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0x55};
    struct TCase
    {
        const char* Fault;
        std::vector<uint8_t> Bytes;
    };
    const TCase cases[] = {
        {"stall", {}},
        {"checksum", {0xAA, 0x01, 0x01, 0x00, 0x00, 0x03, 0x55}},
        {"endmark", {0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0xAA}},
        {"code", {0xAA, 0x81, 0x01, 0x00, 0x00, 0x82, 0x55}},
        {"length", {0xAA, 0x01, 0x02, 0x00, 0x00, 0x00, 0x03, 0x55}},
        {"junk 3", {0x3C, 0x43, 0x4A, 0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0x55}},
        {"delay 250", clean},
    };
    for (const TCase& c : cases)
    {
        ASSERT_EQ(m_Control.Execute(std::string("fault ") + c.Fault + " 2"), "ok");
        const auto first = m_Board.Receive(ping.data(), ping.size(), 0);
        const auto second = m_Board.Receive(ping.data(), ping.size(), 0);
        ASSERT_EQ(first.size(), 1u);
        EXPECT_EQ(first[0].Bytes, c.Bytes) << c.Fault;
        EXPECT_EQ(second[0].Bytes, c.Bytes) << c.Fault;
        EXPECT_EQ(first[0].DelayMs, std::string(c.Fault) == "delay 250" ? 250u : 0u);
        EXPECT_EQ(Wire(ping), clean) << "after " << c.Fault;
    }
    ASSERT_EQ(m_Control.Execute("fault drop"), "ok");
    const auto dropped = m_Board.Receive(ping.data(), ping.size(), 0);
    EXPECT_TRUE(dropped[0].DropConnection);
    EXPECT_TRUE(dropped[0].Bytes.empty());
    EXPECT_EQ(Wire(ping), clean);
}

TEST_F(ControlInterface, FaultsQueueInOrderAndCanBeCleared)
{
    ProgramBoard();
    const std::vector<uint8_t> ping = Frame(CMD_PING);
    EXPECT_EQ(m_Control.Execute("fault checksum"), "ok");
    EXPECT_EQ(m_Control.Execute("fault delay 40 2"), "ok");
    EXPECT_EQ(m_Control.Execute("faults"), "ok checksum*1,delay:40*2");
    EXPECT_NE(Wire(ping)[5], 0x02);
    EXPECT_EQ(m_Board.Receive(ping.data(), ping.size(), 0)[0].DelayMs, 40u);
    EXPECT_EQ(m_Control.Execute("faults"), "ok delay:40*1");
    EXPECT_EQ(m_Control.Execute("fault clear"), "ok");
    EXPECT_EQ(m_Board.Receive(ping.data(), ping.size(), 0)[0].DelayMs, 0u);
}

TEST_F(ControlInterface, AnIncompleteRequestIsDroppedAfterItsTimeoutOnly)
{
    ProgramBoard();
    std::vector<uint8_t> partial = Frame(CMD_SET_LED, Le32(0x1));
    partial.resize(5);
    EXPECT_TRUE(Wire(partial, 10'000).empty());
    EXPECT_EQ(m_Board.NextTickIn(10'000), TVirtualBoard::PARTIAL_FRAME_TIMEOUT_MS);
    EXPECT_TRUE(m_Board.Tick(10'000 + TVirtualBoard::PARTIAL_FRAME_TIMEOUT_MS - 1).empty());
    EXPECT_EQ(m_Board.Firmware().Reader().PendingBytes(), 5u);
    m_Board.Tick(10'000 + TVirtualBoard::PARTIAL_FRAME_TIMEOUT_MS);
    EXPECT_EQ(m_Board.Firmware().Reader().PendingBytes(), 0u);
    EXPECT_EQ(m_Board.NextTickIn(20'000), -1);
    EXPECT_EQ(Wire(Frame(CMD_SET_LED, Le32(0x2)), 20'000).size(), 7u);
    EXPECT_EQ(m_Board.Firmware().Outputs().Leds, 0x2u);
}

// Random lines built from the interface's own words and odd tokens: every reply is one
// line starting "ok" or "error ", and the board still answers the PC afterwards.
TEST_F(ControlInterface, RandomLinesAlwaysGetOneWellFormedReply)
{
    const std::vector<std::string> vocabulary = {
        "ping",     "status",  "power-cycle", "board-name",
        "keys",     "key",     "switches",    "switch",
        "leds",     "seg7",    "hdmi",        "uart",
        "sent",     "clear",   "receive",     "receive-text",
        "sd",       "present", "card",        "sdhc",
        "sdsc",     "cid",     "csd",         "fs",
        "flag",     "adc",     "hsmc",        "pass",
        "fail",     "mem",     "read",        "write",
        "crc",      "lpddr2",  "sram",        "adc",
        "fault",    "faults",  "stall",       "delay",
        "checksum", "endmark", "code",        "length",
        "junk",     "drop",    "down",        "up",
        "on",       "off",     "0",           "1",
        "3",        "9",       "0x10",        "0x3ff",
        "4095",     "65536",   "0xffffffff",  "-1",
        "00ff",     "abc",     "0x",          "",
        "\t",       "\r",      "\x01",        "99999999999999999999999"};
    std::mt19937 random(4242);
    ProgramBoard();
    for (int i = 0; i < 5000; ++i)
    {
        std::string line;
        const int words = 1 + static_cast<int>(random() % 6);
        for (int w = 0; w < words; ++w)
            line += (w ? " " : "") + vocabulary[random() % vocabulary.size()];
        if (line.find("power-cycle") != std::string::npos)
            continue; // keeps the board programmed for the check below
        const std::string reply = m_Control.Execute(line);
        ASSERT_TRUE(reply == "ok" || reply.rfind("ok ", 0) == 0 || reply.rfind("error ", 0) == 0)
            << line << " -> " << reply;
        ASSERT_EQ(reply.find_first_of("\r\n"), std::string::npos) << line;
    }
    m_Board.Faults().Clear();
    const std::vector<uint8_t> ping = Frame(CMD_PING);
    const auto out = m_Board.Receive(ping.data(), ping.size(), 0);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Bytes.size(), 7u);
}

} // namespace
