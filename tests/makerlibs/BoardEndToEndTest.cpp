// The program's board layer through both maker libraries against the virtual board daemon:
// the road every command takes on a user's machine, minus the USB cable.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "board/Board.h"
#include "board/SDCardReport.h"
#include "config/Download.h"
#include "tests/support/RecordingHost.h"
#include "tests/makerlibs/ScopedEnvironment.h"
#include "tests/support/VirtualBoardProcess.h"
#include "virtualboard/Crc32.h"

namespace
{
constexpr const char* QUARTUS_VARIABLE = "QUARTUS_ROOTDIR";
constexpr uint32_t LPDDR2_BYTES = 512u * 1024 * 1024;
constexpr uint32_t SRAM_BYTES = 512u * 1024;

std::vector<uint8_t> Pattern(size_t count, uint32_t seed)
{
    std::vector<uint8_t> bytes(count);
    uint32_t x = seed;
    for (uint8_t& b : bytes)
    {
        x = x * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(x >> 24);
    }
    return bytes;
}

std::vector<uint8_t> FromHex(const std::string& text)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char pair[3];
    for (uint8_t b : bytes)
    {
        std::snprintf(pair, sizeof pair, "%02x", b);
        text += pair;
    }
    return text;
}

// The value of "name=value" in a control reply.
std::string Field(const std::string& reply, const std::string& name)
{
    const size_t at = reply.find(name + "=");
    if (at == std::string::npos)
        return {};
    const size_t start = at + name.size() + 1;
    return reply.substr(start, reply.find(' ', start) - start);
}

class BoardEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_Sim.Start()) << m_Sim.LastError(); }

    // The connect flow's configuration step, through the download library and quartus_pgm.
    bool Configure(const std::string& image)
    {
        TDownload download(m_Host);
        return download.IsLoaded() && download.QuartusVersion() != 0 &&
               download.DownloadImage(QString::fromStdString(image));
    }

    void ConnectProgrammed()
    {
        ASSERT_TRUE(m_Sim.Program()) << m_Sim.LastError();
        QString error;
        ASSERT_TRUE(m_Board.Connect(error, 0)) << error.toStdString();
    }

    std::string Query(const std::string& line)
    {
        std::string value;
        EXPECT_TRUE(m_Sim.Command(line, &value)) << line << ": " << m_Sim.LastError();
        return value;
    }

    TScopedEnvironment m_Quartus{QUARTUS_VARIABLE, hx9test::QuartusRoot()};
    hx9test::TVirtualBoardProcess m_Sim;
    TRecordingHost m_Host{QStringLiteral(HX9_PROGRAM_DIR "/")};
    TBoard m_Board{m_Host};
};

TEST_F(BoardEndToEndTest, BlankBoardIsConfiguredThroughTheDownloadLibrary)
{
    QString error;
    EXPECT_FALSE(m_Board.Connect(error, 0));
    EXPECT_EQ(error, QString(CONNECT_ERROR_TEXT));
    EXPECT_FALSE(m_Board.IsConnected());

    TDownload download(m_Host);
    ASSERT_TRUE(download.IsLoaded());
    EXPECT_DOUBLE_EQ(download.QuartusVersion(), 18.1);
    ASSERT_TRUE(download.DownloadImage(QString::fromStdString(hx9test::ImagePath())));

    ASSERT_TRUE(m_Board.Connect(error, 0)) << error.toStdString();
    EXPECT_EQ(m_Board.BoardName().toStdString(), "HX9 virtual JTAG (" + m_Sim.Address() + ")");
    QString name;
    ASSERT_TRUE(m_Board.QueryBoardName(name));
    EXPECT_EQ(name, QStringLiteral("HX9"));
    EXPECT_TRUE(m_Board.Ping());
    EXPECT_TRUE(m_Host.Messages.empty());
    EXPECT_EQ(m_Host.Beeps, 0);
}

TEST_F(BoardEndToEndTest, OnlyTheHX9ImageConfiguresTheBoard)
{
    const std::string other = ::testing::TempDir() + "hx9-other-image.sof";
    std::ofstream(other) << "SOF but not the control panel's design";
    EXPECT_FALSE(Configure(other));
    EXPECT_FALSE(Configure(::testing::TempDir() + "hx9-no-such-image.sof"));
    std::remove(other.c_str());

    QString error;
    EXPECT_FALSE(m_Board.Connect(error, 0));
    EXPECT_TRUE(Configure(hx9test::ImagePath()));
    EXPECT_TRUE(m_Board.Connect(error, 0));
}

TEST_F(BoardEndToEndTest, OutputsChangeTheBoard)
{
    ConnectProgrammed();
    ASSERT_TRUE(m_Board.SetLED(0x2A5A5));
    EXPECT_EQ(m_Sim.Leds(), 0x2A5A5u);
    ASSERT_TRUE(m_Board.SetLED(0));
    EXPECT_EQ(m_Sim.Leds(), 0u);

    ASSERT_TRUE(m_Board.SetSeg7(0xC0DE, 0));
    EXPECT_EQ(Field(Query("seg7"), "digits"), "c0de");

    bool ok = false;
    ASSERT_TRUE(m_Board.DeviceControl(ok, DEVICE_HDMI_TX, DEVICE_ACTION_START, 0));
    EXPECT_TRUE(ok);
    ASSERT_TRUE(m_Board.DeviceControl(ok, DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN, 7));
    EXPECT_TRUE(ok);
    const std::string hdmi = Query("hdmi");
    EXPECT_EQ(Field(hdmi, "running"), "1");
    EXPECT_EQ(Field(hdmi, "pattern"), "7");
}

TEST_F(BoardEndToEndTest, InputsSetOnTheBoardAreRead)
{
    ConnectProgrammed();
    ASSERT_TRUE(m_Sim.SetKeys(0xA));
    ASSERT_TRUE(m_Sim.SetSwitches(0x201));
    uint32_t state = 0;
    ASSERT_TRUE(m_Board.QueryButtonSwitch(state));
    EXPECT_EQ(state, 0x201Au);

    Query("adc 3 1234");
    Query("adc 7 0");
    uint8_t samples[16] = {};
    ASSERT_TRUE(m_Board.MemoryRead(MEM_TYPE_ADC, 0, sizeof samples, samples));
    EXPECT_EQ(samples[6] | samples[7] << 8, 1234);
    EXPECT_EQ(samples[14] | samples[15] << 8, 0);

    // The report is built from the reply's register bytes at their places.
    const std::string sd = Query("sd");
    const std::vector<uint8_t> cid = FromHex(Field(sd, "cid"));
    const std::vector<uint8_t> csd = FromHex(Field(sd, "csd"));
    ASSERT_EQ(cid.size(), SD_REGISTER_LEN);
    ASSERT_EQ(csd.size(), SD_REGISTER_LEN);
    bool present = false, flag = false;
    QString csdText, cidText, fsText;
    ASSERT_TRUE(m_Board.QuerySDCardInfo(present, csdText, cidText, fsText, flag));
    EXPECT_TRUE(present);
    EXPECT_EQ(cidText,
              FormatCID(std::span<const uint8_t, SD_REGISTER_LEN>(cid.data(), SD_REGISTER_LEN)));
    EXPECT_EQ(csdText,
              FormatCSD(std::span<const uint8_t, SD_REGISTER_LEN>(csd.data(), SD_REGISTER_LEN)));
    const std::string fs = Field(sd, "fs");
    EXPECT_EQ(fsText.toStdString(), fs == "1" ? "FAT16" : fs == "2" ? "FAT32" : "NA");

    Query("sd present 0");
    ASSERT_TRUE(m_Board.QuerySDCardInfo(present, csdText, cidText, fsText, flag));
    EXPECT_FALSE(present);
}

TEST_F(BoardEndToEndTest, UartCarriesBytesBothWays)
{
    ConnectProgrammed();
    bool ok = true;
    const std::vector<uint8_t> early = {'x'};
    ASSERT_TRUE(m_Board.UartWrite(ok, DEVICE_UART_USB, 1, early.data()));
    EXPECT_FALSE(ok) << "the port was never started";

    ASSERT_TRUE(m_Board.DeviceControl(ok, DEVICE_UART_USB, DEVICE_ACTION_START, 0));
    ASSERT_TRUE(ok);
    // Three blocks: 128, 128 and 44 bytes, arriving whole and in order.
    const std::vector<uint8_t> text = Pattern(300, 7);
    ASSERT_TRUE(
        m_Board.UartWrite(ok, DEVICE_UART_USB, static_cast<int32_t>(text.size()), text.data()));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Query("uart sent"), Hex(text));

    Query("uart receive-text hello board");
    int32_t count = 0;
    uint8_t received[UART_BLOCK_LEN] = {};
    ASSERT_TRUE(m_Board.UartRead(ok, DEVICE_UART_USB, count, received));
    EXPECT_TRUE(ok);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(received), static_cast<size_t>(count)),
              "hello board");
    ASSERT_TRUE(m_Board.UartRead(ok, DEVICE_UART_USB, count, received));
    EXPECT_EQ(count, 0);
}

TEST_F(BoardEndToEndTest, HsmcLoopbackPassesAndNamesFailingSignals)
{
    ConnectProgrammed();
    bool ok = false;
    uint64_t io = 1;
    uint32_t xcvr = 1;
    ASSERT_TRUE(m_Board.HsmcLoopbackTest(ok, io, xcvr));
    EXPECT_TRUE(ok);
    EXPECT_EQ(io, 0u);
    EXPECT_EQ(xcvr, 0u);

    Query("hsmc fail 0x1 0x1 0x1f 0x5");
    ASSERT_TRUE(m_Board.HsmcLoopbackTest(ok, io, xcvr));
    EXPECT_TRUE(ok);
    EXPECT_EQ(io, (1ull << 0) | (1ull << 1) | (1ull << 19) | (1ull << 20) | (1ull << 21) |
                      (1ull << 39) | (1ull << 40));
    EXPECT_EQ(xcvr, 0x5u);
}

TEST_F(BoardEndToEndTest, MemoryHoldsWordsAndMegabytesExactly)
{
    ConnectProgrammed();
    // Several megabytes at an odd address: many full chunks and a short last one.
    const uint32_t address = 0x01000001;
    const std::vector<uint8_t> data = Pattern(3 * 1024 * 1024 + 17, 1);
    ASSERT_TRUE(m_Board.MemoryWrite(MEM_TYPE_LPDDR2, address, static_cast<uint32_t>(data.size()),
                                    data.data()));
    std::vector<uint8_t> back(data.size());
    ASSERT_TRUE(m_Board.MemoryRead(MEM_TYPE_LPDDR2, address, static_cast<uint32_t>(back.size()),
                                   back.data()));
    EXPECT_TRUE(back == data);
    // The board itself holds the bytes, not only what reads back through the same path.
    char crc[16];
    std::snprintf(crc, sizeof crc, "0x%08x", vboard::Crc32(data.data(), data.size()));
    EXPECT_EQ(
        Query("mem crc lpddr2 " + std::to_string(address) + " " + std::to_string(data.size())),
        crc);

    // The whole SRAM, then one 16-bit word at word index 0x1234 as the random-access view moves it.
    const std::vector<uint8_t> sram = Pattern(SRAM_BYTES, 2);
    ASSERT_TRUE(m_Board.MemoryWrite(MEM_TYPE_SRAM, 0, SRAM_BYTES, sram.data()));
    back.assign(SRAM_BYTES, 0);
    ASSERT_TRUE(m_Board.MemoryRead(MEM_TYPE_SRAM, 0, SRAM_BYTES, back.data()));
    EXPECT_TRUE(back == sram);
    const uint8_t word[2] = {0xEF, 0xBE};
    ASSERT_TRUE(m_Board.MemoryWrite(MEM_TYPE_SRAM, 0x1234 * 2, 2, word));
    EXPECT_EQ(Query("mem read sram " + std::to_string(0x1234 * 2) + " 2"), "efbe");

    // Past the end: refused by status, and nothing read is handed back.
    uint8_t tail[4] = {1, 2, 3, 4};
    EXPECT_FALSE(m_Board.MemoryRead(MEM_TYPE_SRAM, SRAM_BYTES - 2, 4, tail));
    EXPECT_EQ(tail[0], 1);
    EXPECT_FALSE(m_Board.MemoryWrite(MEM_TYPE_LPDDR2, LPDDR2_BYTES - 1, 2, word));
    EXPECT_TRUE(m_Board.Ping());
}

TEST_F(BoardEndToEndTest, DamagedRepliesFailAndTheNextExchangeWorks)
{
    ConnectProgrammed();
    struct TCase
    {
        const char* fault;
        int beeps; // a bad checksum or end mark beeps; a misframed header fails quietly
    };
    const TCase cases[] = {
        {"checksum", 1}, {"endmark", 1}, {"code", 0}, {"length", 0}, {"junk 16", 0}};
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.fault);
        ASSERT_TRUE(m_Sim.InjectFault(c.fault)) << m_Sim.LastError();
        const int beeps = m_Host.Beeps;
        uint8_t status = 0x5A;
        EXPECT_FALSE(m_Board.Transact(CMD_PING, &status, REPLY_HEADER_LIMIT_MS, 0, nullptr,
                                      REPLY_LEN_STATUS));
        EXPECT_EQ(status, 0x5A) << "a failed exchange must leave the reply buffer alone";
        EXPECT_EQ(m_Host.Beeps - beeps, c.beeps);
        EXPECT_TRUE(m_Board.IsConnected());
        EXPECT_TRUE(m_Board.Ping());
    }
    // A slow reply inside the header limit is no failure.
    ASSERT_TRUE(m_Sim.InjectFault("delay 300"));
    EXPECT_TRUE(m_Board.Ping());
}

TEST_F(BoardEndToEndTest, StalledReplyTimesOutQuietly)
{
    ConnectProgrammed();
    ASSERT_TRUE(m_Sim.InjectFault("stall"));
    EXPECT_FALSE(m_Board.Ping()); // waits out the 3000 ms header limit
    EXPECT_EQ(m_Host.Beeps, 0);
    EXPECT_TRUE(m_Board.Ping());
}

TEST_F(BoardEndToEndTest, DroppedLinkFailsUntilReconnected)
{
    ConnectProgrammed();
    ASSERT_TRUE(m_Sim.InjectFault("drop"));
    EXPECT_FALSE(m_Board.Ping()); // no header ever comes
    EXPECT_EQ(m_Host.Beeps, 0);
    // The library now refuses to write on the dead link: a beep, and still connected.
    EXPECT_FALSE(m_Board.Ping());
    EXPECT_EQ(m_Host.Beeps, 1);
    QString error;
    ASSERT_TRUE(m_Board.Connect(error, 0));
    EXPECT_TRUE(m_Board.Ping());
}

TEST_F(BoardEndToEndTest, ANewConnectionTakesTheBoardOver)
{
    ConnectProgrammed();
    TBoard other(m_Host);
    QString error;
    ASSERT_TRUE(other.Connect(error, 0));
    EXPECT_TRUE(other.SetLED(0x3));
    EXPECT_EQ(m_Sim.Leds(), 0x3u);
    // The first connection was closed by the board: a write there fails at once.
    EXPECT_FALSE(m_Board.SetLED(0x1));
    EXPECT_EQ(m_Sim.Leds(), 0x3u);
}
} // namespace
