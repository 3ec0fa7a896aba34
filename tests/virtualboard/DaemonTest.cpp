#include "tests/support/VirtualBoardProcess.h"
#include "tests/virtualboard/JtagTestClient.h"
#include "virtualboard/Frame.h"

#include <gtest/gtest.h>

namespace
{

using vboardtest::TJtagTestClient;

const std::vector<uint8_t> PING = {0xAA, 0x01, 0x00, 0x00, 0x01, 0x55};
const std::vector<uint8_t> PING_REPLY = {0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0x55};

TEST(Daemon, BlankBoardRefusesJtagUntilProgrammedAndAgainAfterPowerCycle)
{
    hx9test::TVirtualBoardProcess board;
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

} // namespace
