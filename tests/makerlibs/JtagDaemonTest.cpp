// The JTAG library straight against the virtual board daemon, without the board layer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/makerlibs/JtagLibrary.h"
#include "tests/makerlibs/ScopedEnvironment.h"
#include "tests/support/VirtualBoardProcess.h"
#include "virtualboard/ControlClient.h"
#include "virtualboard/Endpoint.h"

namespace
{
// Each empty read waits about a millisecond: enough for any reply, bounded for a missing one.
constexpr int READ_ATTEMPTS = 2000;
constexpr int CLOSED_READ_ATTEMPTS = 200;

std::vector<uint8_t> ReadBytes(TJtagLibrary& library, uint32_t handle, size_t count,
                               int attempts = READ_ATTEMPTS)
{
    std::vector<uint8_t> bytes(count);
    size_t got = 0;
    for (int attempt = 0; attempt < attempts && got < count; ++attempt)
        got += static_cast<size_t>(std::max(
            library.Read(handle, bytes.data() + got, static_cast<uint32_t>(count - got)), 0));
    bytes.resize(got);
    return bytes;
}

TEST(JtagDaemonTest, BytesReachTheFirmwareOnlyOnceTheBoardIsProgrammed)
{
    TJtagLibrary library;
    ASSERT_TRUE(library.Loaded()) << library.Error();
    hx9test::TVirtualBoardProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.LastError();

    // A blank board refuses; with the variable set the library starts nothing of its own.
    EXPECT_EQ(library.Open(0, ""), 0u);

    ASSERT_TRUE(sim.Program()) << sim.LastError();
    const uint32_t handle = library.Open(0, "");
    ASSERT_NE(handle, 0u);
    const std::vector<uint8_t> ping = {0xAA, 0x01, 0x00, 0x00, 0x01, 0x55};
    ASSERT_NE(library.Write(handle, ping.data(), static_cast<uint32_t>(ping.size())), 0);
    EXPECT_EQ(ReadBytes(library, handle, 7),
              (std::vector<uint8_t>{0xAA, 0x01, 0x01, 0x00, 0x00, 0x02, 0x55}));

    // A request split over several writes is still one request to the firmware.
    ASSERT_NE(library.Write(handle, ping.data(), 2), 0);
    ASSERT_NE(library.Write(handle, ping.data() + 2, 4), 0);
    EXPECT_EQ(ReadBytes(library, handle, 7).size(), 7u);
    uint8_t extra = 0;
    EXPECT_EQ(library.Read(handle, &extra, 1), 0);

    // Power off: the board closes the link, the library reports it as gone.
    ASSERT_TRUE(sim.PowerCycle());
    EXPECT_EQ(ReadBytes(library, handle, 1, CLOSED_READ_ATTEMPTS).size(), 0u);
    EXPECT_EQ(library.Write(handle, ping.data(), static_cast<uint32_t>(ping.size())), 0);
    library.Close(handle);
    EXPECT_EQ(library.Open(0, ""), 0u);
}

// Without KELVARO_JTAG_SERVER the library looks at the default address and starts the
// virtual board from its own folder when nothing is there.
TEST(JtagDaemonTest, DefaultBoardIsStartedOnFirstUse)
{
    TJtagLibrary library;
    ASSERT_TRUE(library.Loaded()) << library.Error();
    TScopedEnvironment unset("KELVARO_JTAG_SERVER", std::nullopt);
    const vboard::TEndpoint endpoint; // the default address
    std::string reply, error;
    if (vboard::ControlRequest(endpoint, "ping", reply, error))
        GTEST_SKIP() << "a virtual board already serves the default address";

    // The daemon detaches from us, so stopping it goes through its control port.
    struct TShutdown
    {
        const vboard::TEndpoint& endpoint;
        ~TShutdown()
        {
            std::string r, e;
            vboard::ControlRequest(endpoint, "shutdown", r, e);
        }
    } shutdown{endpoint};

    // Started, but blank: still no link.
    EXPECT_EQ(library.Open(0, ""), 0u);
    ASSERT_TRUE(vboard::ControlRequest(endpoint, "status", reply, error)) << error;
    EXPECT_NE(reply.find("programmed=0"), std::string::npos) << reply;
    // A second open finds the blank board's control port and gives up at once.
    EXPECT_EQ(library.Open(0, ""), 0u);

    ASSERT_TRUE(vboard::ControlRequest(endpoint, "program " + hx9test::ImagePath(), reply, error))
        << error;
    ASSERT_EQ(reply, "ok");
    const uint32_t handle = library.Open(0, "");
    EXPECT_NE(handle, 0u);
    char record[167] = {};
    ASSERT_NE(library.GetInfo(handle, record), 0);
    EXPECT_STREQ(record + 112, "HX9 virtual JTAG (127.0.0.1:45480)");
    library.Close(handle);
}
} // namespace
