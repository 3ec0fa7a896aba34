#include "tests/support/RunProgram.h"
#include "tests/support/VirtualBoardProcess.h"
#include "tests/virtualboard/FirmwareTestSupport.h"
#include "tests/virtualboard/JtagTestClient.h"
#include "tests/virtualboard/TempFile.h"
#include "virtualboard/ControlClient.h"
#include "virtualboard/FpgaImage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

namespace
{

using namespace vboard;
using hx9test::RunProgram;
using hx9test::TVirtualBoardProcess;
using vboardtest::Concat;
using vboardtest::Frame;
using vboardtest::Le32;
using vboardtest::TJtagTestClient;

const std::vector<uint8_t> PING = {0xAA, 0x01, 0x00, 0x00, 0x01, 0x55};
const std::vector<uint8_t> PING_REPLY = {0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0x55};

std::string Sim()
{
    return hx9test::ProgramDir() + "/hx9-board-sim";
}

std::string Programmer()
{
    return hx9test::QuartusRoot() + "/bin/quartus_pgm";
}

// A programmed board and a JTAG client connected to it.
class ProgrammedBoard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Board.Start()) << m_Board.LastError();
        ASSERT_TRUE(m_Board.Program()) << m_Board.LastError();
        ASSERT_TRUE(m_Jtag.Connect(m_Board.JtagPort()));
    }

    std::vector<uint8_t> Exchange(const std::vector<uint8_t>& request, size_t replyBytes)
    {
        EXPECT_TRUE(m_Jtag.Send(request));
        return m_Jtag.Receive(replyBytes);
    }

    TVirtualBoardProcess m_Board;
    TJtagTestClient m_Jtag;
};

TEST(Daemon, BlankBoardRefusesJtagUntilProgrammedAndAgainAfterPowerCycle)
{
    TVirtualBoardProcess board;
    ASSERT_TRUE(board.Start()) << board.LastError();
    TJtagTestClient jtag;
    EXPECT_FALSE(jtag.Connect(board.JtagPort()));

    ASSERT_TRUE(board.Program()) << board.LastError();
    ASSERT_TRUE(jtag.Connect(board.JtagPort()));
    ASSERT_TRUE(jtag.Send(PING));
    EXPECT_EQ(jtag.Receive(PING_REPLY.size()), PING_REPLY);

    ASSERT_TRUE(board.PowerCycle()) << board.LastError();
    EXPECT_TRUE(jtag.Receive(1).empty());
    EXPECT_TRUE(jtag.ClosedByPeer());
    TJtagTestClient again;
    EXPECT_FALSE(again.Connect(board.JtagPort()));
}

TEST(Daemon, WrongImagesAreRefusedAndTheBoardStaysBlank)
{
    TVirtualBoardProcess board;
    ASSERT_TRUE(board.Start()) << board.LastError();
    std::vector<uint8_t> damaged = MakeHx9Image();
    damaged[damaged.size() - 10] ^= 0x40;
    const vboardtest::TTempFile file(damaged);

    EXPECT_FALSE(board.Program(file.Path()));
    EXPECT_NE(board.LastError().find("checksum mismatch"), std::string::npos) << board.LastError();
    EXPECT_FALSE(board.Program(Sim()));
    EXPECT_NE(board.LastError().find("is not the HX9 image"), std::string::npos)
        << board.LastError();
    EXPECT_FALSE(board.Program("/nonexistent.sof"));
    TJtagTestClient jtag;
    EXPECT_FALSE(jtag.Connect(board.JtagPort()));
}

TEST_F(ProgrammedBoard, FaultsSendThePromisedBytesAndTheNextExchangeIsClean)
{
    struct TCase
    {
        const char* Fault;
        std::vector<uint8_t> Bytes;
    };
    const TCase cases[] = {
        {"checksum", {0xAA, 0x01, 0x01, 0x00, 0x00, 0x03, 0x55}},
        {"endmark", {0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0xAA}},
        {"code", {0xAA, 0x81, 0x01, 0x00, 0x00, 0x82, 0x55}},
        {"length", {0xAA, 0x01, 0x02, 0x00, 0x00, 0x00, 0x03, 0x55}},
        {"junk 2", {0x3C, 0x43, 0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0x55}},
    };
    for (const TCase& c : cases)
    {
        ASSERT_TRUE(m_Board.InjectFault(c.Fault)) << m_Board.LastError();
        EXPECT_EQ(Exchange(PING, c.Bytes.size()), c.Bytes) << c.Fault;
        EXPECT_EQ(Exchange(PING, PING_REPLY.size()), PING_REPLY) << "after " << c.Fault;
    }
}

TEST_F(ProgrammedBoard, StallSwallowsOneReplyAndDelayHoldsItBack)
{
    ASSERT_TRUE(m_Board.InjectFault("stall"));
    ASSERT_TRUE(m_Jtag.Send(Frame(CMD_SET_LED, Le32(0x5))));
    // Replies keep their order, so the first bytes to come are the ping's.
    EXPECT_EQ(Exchange(PING, PING_REPLY.size()), PING_REPLY);
    EXPECT_EQ(m_Board.Leds(), 0x5u) << "a stalled request is still carried out";

    constexpr int DELAY_MS = 150;
    ASSERT_TRUE(m_Board.InjectFault("delay " + std::to_string(DELAY_MS)));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange(PING, PING_REPLY.size()), PING_REPLY);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(DELAY_MS));
}

TEST_F(ProgrammedBoard, DropClosesTheLinkAndANewClientIsServed)
{
    ASSERT_TRUE(m_Board.InjectFault("drop"));
    ASSERT_TRUE(m_Jtag.Send(PING));
    EXPECT_TRUE(m_Jtag.Receive(1).empty());
    EXPECT_TRUE(m_Jtag.ClosedByPeer());
    ASSERT_TRUE(m_Jtag.Connect(m_Board.JtagPort()));
    EXPECT_EQ(Exchange(PING, PING_REPLY.size()), PING_REPLY);
}

TEST_F(ProgrammedBoard, ANewClientReplacesTheOldOne)
{
    // Half a request from the old client must not prefix the new client's bytes.
    ASSERT_TRUE(m_Jtag.Send({0xAA, CMD_SET_LED}));
    TJtagTestClient second;
    ASSERT_TRUE(second.Connect(m_Board.JtagPort()));
    EXPECT_TRUE(m_Jtag.Receive(1).empty());
    EXPECT_TRUE(m_Jtag.ClosedByPeer());
    ASSERT_TRUE(second.Send(PING));
    EXPECT_EQ(second.Receive(PING_REPLY.size()), PING_REPLY);
    std::string status;
    ASSERT_TRUE(m_Board.Command("status", &status));
    EXPECT_NE(status.find("jtag-client=1"), std::string::npos) << status;
}

TEST_F(ProgrammedBoard, FullSizeFramesCrossTheSocketIntact)
{
    std::vector<uint8_t> data(32743);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>((i * 131) ^ (i >> 8));
    const auto written =
        Exchange(Frame(CMD_MEMORY_WRITE, Concat({{MEM_TYPE_LPDDR2}, Le32(0x100000), data})), 7);
    ASSERT_EQ(written.size(), 7u);
    EXPECT_EQ(written[4], STATUS_OK);

    const auto reply =
        Exchange(Frame(CMD_MEMORY_READ, Concat({{MEM_TYPE_LPDDR2}, Le32(0x100000), Le32(32747)})),
                 32748 + PKT_FRAME_OVERHEAD);
    ASSERT_EQ(reply.size(), 32748 + PKT_FRAME_OVERHEAD);
    EXPECT_TRUE(IsWellFormedFrame(reply.data(), reply.size()));
    EXPECT_TRUE(std::equal(data.begin(), data.end(), reply.begin() + PKT_HEADER_LEN + 1));
    std::string crc;
    ASSERT_TRUE(m_Board.Command("mem crc lpddr2 0x100000 32743", &crc));
    EXPECT_EQ(crc.size(), 10u);
}

TEST(Daemon, ASecondServeOnABusyPortExitsQuietly)
{
    TVirtualBoardProcess board;
    ASSERT_TRUE(board.Start()) << board.LastError();
    const auto run = RunProgram({Sim(), "serve", "--port", std::to_string(board.JtagPort())});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(board.Control("ping"), "ok hx9-board-sim") << "the first daemon still serves";
}

TEST(Daemon, ExitsAfterTheIdleTimeoutWithoutClients)
{
    TVirtualBoardProcess::TOptions options;
    options.Stay = false;
    options.ExtraArgs = {"--idle-timeout", "0.2"};
    TVirtualBoardProcess board(options);
    ASSERT_TRUE(board.Start()) << board.LastError();
    int exitCode = -1;
    ASSERT_TRUE(board.WaitForExit(std::chrono::seconds(10), &exitCode)) << board.LastError();
    EXPECT_EQ(exitCode, 0);
}

// Where each descriptor of the process listening on a loopback TCP port leads, as /proc
// shows it ("/dev/null", "socket:[…]", "pipe:[…]"); empty when no such process is seen.
std::map<int, std::string> ListenerDescriptors(uint16_t port)
{
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::string inode;
    std::getline(table, line); // the column names
    while (inode.empty() && std::getline(table, line))
    {
        std::istringstream in(line);
        std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, node;
        in >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >>
            timeout >> node;
        constexpr const char* LISTENING = "0A";
        if (state == LISTENING && std::stoul(local.substr(local.find(':') + 1), nullptr, 16) == port)
            inode = node;
    }
    if (inode.empty())
        return {};
    const std::filesystem::path socket = "socket:[" + inode + "]";
    std::error_code error;
    for (const auto& process : std::filesystem::directory_iterator("/proc", error))
    {
        std::map<int, std::string> descriptors;
        bool listener = false;
        for (const auto& fd : std::filesystem::directory_iterator(process.path() / "fd", error))
        {
            const std::filesystem::path target = std::filesystem::read_symlink(fd.path(), error);
            listener = listener || target == socket;
            descriptors[std::stoi(fd.path().filename())] = target.string();
        }
        if (listener)
            return descriptors;
    }
    return {};
}

// The parent returns at once with the port, and the daemon holds none of the caller's
// pipes: its standard streams lead to /dev/null and it keeps no pipe open.
TEST(Daemon, DetachReturnsThePortAndLetsGoOfTheCallersPipes)
{
    const auto run = RunProgram({Sim(), "serve", "--port", "0", "--detach", "--idle-timeout", "30"},
                                std::chrono::seconds(10));
    ASSERT_FALSE(run.TimedOut);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    unsigned port = 0;
    ASSERT_EQ(std::sscanf(run.Out.c_str(), "port %u", &port), 1) << run.Out;
    TEndpoint endpoint;
    endpoint.JtagPort = static_cast<uint16_t>(port);
    const std::map<int, std::string> descriptors = ListenerDescriptors(endpoint.ControlPort());
    ASSERT_FALSE(descriptors.empty());
    for (const auto& [fd, target] : descriptors)
    {
        if (fd <= STDERR_FILENO)
        {
            EXPECT_EQ(target, "/dev/null") << "descriptor " << fd;
        }
        EXPECT_NE(target.rfind("pipe:", 0), 0u) << "descriptor " << fd << ": " << target;
    }
    std::string reply;
    std::string error;
    ASSERT_TRUE(ControlRequest(endpoint, "ping", reply, error)) << error;
    EXPECT_EQ(reply, "ok hx9-board-sim");
    ASSERT_TRUE(ControlRequest(endpoint, "shutdown", reply, error)) << error;
    EXPECT_EQ(reply, "ok");
}

TEST(Daemon, ClientSubcommandsSpeakTheControlInterface)
{
    TVirtualBoardProcess board;
    ASSERT_TRUE(board.Start()) << board.LastError();
    // KELVARO_JTAG_SERVER points at the board; --port overrides it.
    auto run = RunProgram({Sim(), "program", hx9test::ImagePath()});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    run = RunProgram({Sim(), "--port", std::to_string(board.JtagPort()), "switch", "9", "on"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    run = RunProgram({Sim(), "switches"});
    EXPECT_EQ(run.Out, "0x200\n");
    run = RunProgram({Sim(), "keys", "0x1f"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind("hx9-board-sim: keys takes a mask", 0), 0u) << run.Err;
    run = RunProgram({Sim(), "--port", "1", "status"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find("no virtual board at 127.0.0.1:2"), std::string::npos) << run.Err;
}

TEST(QuartusPgm, VersionReadsLikeTheRealTool)
{
    const auto run = RunProgram({Programmer(), "--version"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out,
              "Quartus Prime Programmer\nVersion 18.1.0 Build 625 09/12/2018 SJ Lite Edition\n");
    EXPECT_FALSE(::access((hx9test::QuartusRoot() + "/bin32").c_str(), F_OK) == 0);
}

TEST(QuartusPgm, ProgramsTheBoardNamedByTheEnvironment)
{
    TVirtualBoardProcess board;
    ASSERT_TRUE(board.Start()) << board.LastError();
    auto run = RunProgram(
        {Programmer(), "-c", "USB-JTAG", "-m", "jtag", "-o", "p;" + hx9test::ImagePath()});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    TJtagTestClient jtag;
    EXPECT_TRUE(jtag.Connect(board.JtagPort()));

    ASSERT_TRUE(board.PowerCycle());
    run = RunProgram({Programmer(), "-m", "jtag", "-o", "p;" + Sim()});
    EXPECT_NE(run.ExitCode, 0);
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_NE(run.Err.find("not the HX9 image"), std::string::npos) << run.Err;
    run = RunProgram({Programmer(), "-m", "jtag", "-o", "p;/missing/HX9_ControlPanel.sof"});
    EXPECT_NE(run.ExitCode, 0);
    EXPECT_NE(run.Err.find("cannot read '/missing/HX9_ControlPanel.sof'"), std::string::npos)
        << run.Err;
    EXPECT_FALSE(jtag.Connect(board.JtagPort())) << "refused images leave the board blank";
}

// A board is started on the user's behalf only at the default address: an address the user
// named that does not answer fails, names the address, and leaves nothing running there.
TEST(QuartusPgm, ANamedAddressThatDoesNotAnswerStartsNoBoard)
{
    uint16_t port = 0;
    {
        TVirtualBoardProcess probe; // finds a free port pair, then frees it
        ASSERT_TRUE(probe.Start()) << probe.LastError();
        port = probe.JtagPort();
    }
    const std::string address = "127.0.0.1:" + std::to_string(port);
    std::optional<std::string> saved;
    if (const char* old = std::getenv(JTAG_SERVER_VARIABLE))
        saved = old;
    ::setenv(JTAG_SERVER_VARIABLE, address.c_str(), 1);
    const auto run = RunProgram({Programmer(), "-m", "jtag", "-o", "p;" + hx9test::ImagePath()},
                                std::chrono::seconds(15));
    if (saved)
        ::setenv(JTAG_SERVER_VARIABLE, saved->c_str(), 1);
    else
        ::unsetenv(JTAG_SERVER_VARIABLE);

    EXPECT_NE(run.ExitCode, 0);
    EXPECT_NE(run.Err.find("no board answers at " + address), std::string::npos) << run.Err;
    TEndpoint endpoint;
    endpoint.JtagPort = port;
    std::string reply;
    std::string error;
    EXPECT_FALSE(ControlRequest(endpoint, "status", reply, error)) << "a board was started: " << reply;
}

} // namespace
