// The JTAG access library against a plain TCP peer: the byte channel contract on its own.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <numeric>
#include <vector>

#include <unistd.h>

#include "tests/makerlibs/JtagLibrary.h"
#include "tests/makerlibs/LoopbackServer.h"
#include "tests/makerlibs/ScopedEnvironment.h"

namespace
{
constexpr const char* SERVER_VARIABLE = "KELVARO_JTAG_SERVER";
constexpr size_t INFO_ROOM = 167;
constexpr size_t INFO_NAME_OFFSET = 112;
// Enough read calls to collect anything the kernel already holds, without hanging a broken test.
constexpr int READ_ATTEMPTS = 2000;

std::vector<uint8_t> Pattern(size_t count)
{
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>((i * 131 + i / 251) & 0xFF);
    return bytes;
}

class JtagLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_Library.Loaded()) << m_Library.Error(); }

    // Reads until count bytes came or the attempts ran out.
    std::vector<uint8_t> ReadBytes(uint32_t handle, size_t count)
    {
        std::vector<uint8_t> bytes(count);
        size_t got = 0;
        for (int attempt = 0; attempt < READ_ATTEMPTS && got < count; ++attempt)
        {
            const int32_t n =
                m_Library.Read(handle, bytes.data() + got, static_cast<uint32_t>(count - got));
            EXPECT_GE(n, 0);
            got += static_cast<size_t>(std::max(n, 0));
        }
        bytes.resize(got);
        return bytes;
    }

    TJtagLibrary m_Library;
    TLoopbackServer m_Server;
    TScopedEnvironment m_Setting{SERVER_VARIABLE, m_Server.Address()};
};

TEST_F(JtagLibraryTest, MovesBytesBothWaysUnchanged)
{
    const uint32_t handle = m_Library.Open(0, "");
    ASSERT_NE(handle, 0u);
    const int peer = m_Server.Accept();
    ASSERT_GE(peer, 0);

    // Bigger than the largest frame, so partial sends and reads are part of it.
    const std::vector<uint8_t> request = Pattern(96 * 1024);
    EXPECT_NE(m_Library.Write(handle, request.data(), static_cast<uint32_t>(request.size())), 0);
    EXPECT_EQ(TLoopbackServer::ReceiveAll(peer, request.size()), request);

    std::vector<uint8_t> reply(request.rbegin(), request.rend());
    ASSERT_TRUE(TLoopbackServer::SendAll(peer, reply));
    EXPECT_EQ(ReadBytes(handle, reply.size()), reply);

    m_Library.Close(handle);
    ::close(peer);
}

TEST_F(JtagLibraryTest, ReadHandsBackWhatArrivedWithoutWaitingForTheRoom)
{
    const uint32_t handle = m_Library.Open(0, "");
    ASSERT_NE(handle, 0u);
    const int peer = m_Server.Accept();
    ASSERT_TRUE(TLoopbackServer::SendAll(peer, {1, 2, 3}));

    std::vector<uint8_t> buffer(100, 0xEE);
    int32_t n = 0;
    for (int attempt = 0; attempt < READ_ATTEMPTS && n == 0; ++attempt)
        n = m_Library.Read(handle, buffer.data(), static_cast<uint32_t>(buffer.size()));
    ASSERT_EQ(n, 3);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 4),
              (std::vector<uint8_t>{1, 2, 3, 0xEE}));

    // Nothing waiting: each read gives up after about a millisecond. A generous bound, only to
    // catch a read that waits for data or for the room to fill.
    const auto start = std::chrono::steady_clock::now();
    constexpr int EMPTY_READS = 20;
    for (int i = 0; i < EMPTY_READS; ++i)
        EXPECT_EQ(m_Library.Read(handle, buffer.data(), static_cast<uint32_t>(buffer.size())), 0);
    EXPECT_EQ(m_Library.Read(handle, buffer.data(), 0), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));

    m_Library.Close(handle);
    ::close(peer);
}

TEST_F(JtagLibraryTest, PeerThatClosesEndsTheChannelAfterItsLastBytes)
{
    const uint32_t handle = m_Library.Open(0, "");
    ASSERT_NE(handle, 0u);
    const int peer = m_Server.Accept();
    ASSERT_TRUE(TLoopbackServer::SendAll(peer, {9, 8, 7, 6, 5}));
    ::close(peer);

    // Bytes sent before the close still arrive; then the channel only gives 0 and refuses writes.
    EXPECT_EQ(ReadBytes(handle, 5), (std::vector<uint8_t>{9, 8, 7, 6, 5}));
    uint8_t byte = 0;
    EXPECT_EQ(m_Library.Read(handle, &byte, 1), 0);
    EXPECT_EQ(m_Library.Write(handle, &byte, 1), 0);
    EXPECT_EQ(m_Library.Read(handle, &byte, 1), 0);
    m_Library.Close(handle);
}

TEST_F(JtagLibraryTest, WriteFailsAtOnceWhenThePeerHasGone)
{
    const uint32_t handle = m_Library.Open(0, "");
    ASSERT_NE(handle, 0u);
    ::close(m_Server.Accept());
    // No read has noticed the close: the write must, rather than report bytes as sent.
    const std::vector<uint8_t> frame = {0xAA, 0x01, 0x00, 0x00, 0x01, 0x55};
    EXPECT_EQ(m_Library.Write(handle, frame.data(), static_cast<uint32_t>(frame.size())), 0);
    m_Library.Close(handle);
}

TEST_F(JtagLibraryTest, InfoRecordNamesTheLinkFromByte112)
{
    const uint32_t handle = m_Library.Open(0, "");
    ASSERT_NE(handle, 0u);
    std::vector<char> record(INFO_ROOM + 40, '\xEE');
    ASSERT_NE(m_Library.GetInfo(handle, record.data()), 0);
    EXPECT_STREQ(record.data() + INFO_NAME_OFFSET,
                 ("HX9 virtual JTAG (" + m_Server.Address() + ")").c_str());
    for (size_t i = INFO_ROOM; i < record.size(); ++i)
        ASSERT_EQ(record[i], '\xEE') << "written past the record at byte " << i;
    EXPECT_EQ(m_Library.GetInfo(handle, nullptr), 0);
    m_Library.Close(handle);
}

TEST_F(JtagLibraryTest, LongServerNameIsCutInsideTheRecord)
{
    // inet_aton reads this as 127.0.0.1: a valid address whose text outgrows the record.
    const std::string host = "0x7f." + std::string(60, '0') + ".0.1";
    m_Setting.Set(host + ":" + std::to_string(m_Server.Port()));
    const uint32_t handle = m_Library.Open(0, "");
    ASSERT_NE(handle, 0u);
    std::vector<char> record(INFO_ROOM + 40, '\xEE');
    ASSERT_NE(m_Library.GetInfo(handle, record.data()), 0);
    EXPECT_EQ(record[INFO_ROOM - 1], '\0');
    EXPECT_EQ(std::strlen(record.data() + INFO_NAME_OFFSET), INFO_ROOM - INFO_NAME_OFFSET - 1);
    EXPECT_EQ(record[INFO_ROOM], '\xEE');
    m_Library.Close(handle);
}

TEST_F(JtagLibraryTest, SeveralLinksAtOnceKeepTheirOwnBytes)
{
    const uint32_t first = m_Library.Open(0, "");
    const int firstPeer = m_Server.Accept();
    const uint32_t second = m_Library.Open(0, "");
    const int secondPeer = m_Server.Accept();
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    ASSERT_NE(first, second);

    const uint8_t a = 'a', b = 'b';
    EXPECT_NE(m_Library.Write(first, &a, 1), 0);
    EXPECT_NE(m_Library.Write(second, &b, 1), 0);
    EXPECT_EQ(TLoopbackServer::ReceiveAll(firstPeer, 1), std::vector<uint8_t>{'a'});
    EXPECT_EQ(TLoopbackServer::ReceiveAll(secondPeer, 1), std::vector<uint8_t>{'b'});

    m_Library.Close(first);
    // Closing one leaves the other working.
    EXPECT_NE(m_Library.Write(second, &a, 1), 0);
    EXPECT_EQ(TLoopbackServer::ReceiveAll(secondPeer, 1), std::vector<uint8_t>{'a'});
    m_Library.Close(second);
    ::close(firstPeer);
    ::close(secondPeer);
}

TEST_F(JtagLibraryTest, UnknownAndClosedHandlesAreRefused)
{
    uint8_t buffer[INFO_ROOM] = {};
    for (uint32_t handle : {0u, 777u, 0xFFFFFFFFu})
    {
        EXPECT_EQ(m_Library.Write(handle, buffer, 1), 0);
        EXPECT_EQ(m_Library.Read(handle, buffer, sizeof buffer), 0);
        EXPECT_EQ(m_Library.GetInfo(handle, buffer), 0);
        m_Library.Close(handle);
    }

    const uint32_t old = m_Library.Open(0, "");
    ASSERT_NE(old, 0u);
    const int oldPeer = m_Server.Accept();
    m_Library.Close(old);
    const uint32_t fresh = m_Library.Open(0, "");
    ASSERT_NE(fresh, 0u);
    const int freshPeer = m_Server.Accept();
    // A stale handle must not reach the link opened after it.
    EXPECT_NE(fresh, old);
    EXPECT_EQ(m_Library.Write(old, buffer, 1), 0);
    EXPECT_EQ(m_Library.Read(old, buffer, 1), 0);
    m_Library.Close(fresh);
    ::close(oldPeer);
    ::close(freshPeer);
}

TEST_F(JtagLibraryTest, BadServerSettingsGiveNoLink)
{
    const std::string port = std::to_string(m_Server.Port());
    const std::vector<std::string> bad = {
        "127.0.0.1",          "127.0.0.1:",
        ":" + port,           "127.0.0.1:0",
        "127.0.0.1:65536",    "127.0.0.1:99999999",
        "127.0.0.1:+" + port, "127.0.0.1:" + port + "x",
        "127.0.0.1: " + port, "bad host:" + port,
        "[::1:" + port,       "::1:" + port,
        "[]:" + port,         "127.0.0.1/8:" + port,
    };
    for (const std::string& value : bad)
    {
        m_Setting.Set(value);
        EXPECT_EQ(m_Library.Open(0, ""), 0u) << value;
    }
    // None of them may have found their way to the listening server (or to the default board).
    EXPECT_LT(m_Server.Accept(0), 0);

    m_Setting.Set("127.0.0.1:" + std::to_string(RefusingPort()));
    EXPECT_EQ(m_Library.Open(0, ""), 0u);
}

TEST_F(JtagLibraryTest, OnlyCableZeroExists)
{
    EXPECT_EQ(m_Library.Open(1, ""), 0u);
    EXPECT_EQ(m_Library.Open(-1, ""), 0u);
    EXPECT_LT(m_Server.Accept(0), 0);
    const uint32_t handle = m_Library.Open(0, nullptr);
    EXPECT_NE(handle, 0u);
    m_Library.Close(handle);
}
} // namespace
