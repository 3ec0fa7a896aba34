#include "board/JtagPort.h"
#include "board/Board.h"
#include "tests/board/BoardFixture.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace
{
class JtagPortTest : public ::testing::Test
{
protected:
    JtagPortTest() : Host(FakeJtagFolder()), Fake(FakeJtagPath())
    {
        Host.Clock = [this] { return Fake->Now(); };
    }

    TQuartusRoot Quartus;
    TRecordingHost Host;
    TFakeJtag Fake;
};

TEST_F(JtagPortTest, OpenWorksInTheProgrammerFolderAndReturnsToTheProgramFolder)
{
    TJtagPort port(Host, 0, QString());
    ASSERT_TRUE(port.IsLoaded());
    EXPECT_FALSE(port.IsOpen());

    ASSERT_TRUE(port.Open());
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(QDir(QString::fromLocal8Bit(Fake->FolderAtOpen())).canonicalPath(),
              QDir(Quartus.Bin()).canonicalPath());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(FakeJtagFolder()).canonicalPath());
    EXPECT_TRUE(Host.Messages.empty());

    // A second open closes the first link: one link stays.
    ASSERT_TRUE(port.Open());
    EXPECT_EQ(Fake.Counters().Opens, 2u);
    EXPECT_EQ(Fake.Counters().Closes, 1u);
    port.Close();
    port.Close();
    EXPECT_EQ(Fake.Counters().Closes, 2u);
    EXPECT_EQ(Fake.Counters().BadHandleCalls, 0u);
}

TEST_F(JtagPortTest, OpenWithoutAProgrammerFolderStillCallsTheLibraryAndWarnsEveryTime)
{
    qunsetenv("QUARTUS_ROOTDIR");
    QTemporaryDir noRegistry;
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, noRegistry.path());
    TJtagPort port(Host, 0, QString());
    const TRecordingHost::TMessage warning{THost::mkWarning,
                                           "Failed to find Quartus installatino folder!"};
    for (uint32_t open = 1; open <= 2; ++open)
    {
        EXPECT_TRUE(port.Open());
        EXPECT_EQ(Fake.Counters().Opens, open);
        EXPECT_EQ(Host.Messages, std::vector<TRecordingHost::TMessage>(open, warning));
        EXPECT_EQ(QDir::current().canonicalPath(), QDir(FakeJtagFolder()).canonicalPath());
    }
}

TEST_F(JtagPortTest, RefusedOpenLeavesThePortClosedInTheProgramFolder)
{
    Fake->SetOpenHandle(0);
    TJtagPort port(Host, 0, QString());
    QDir::setCurrent(QDir::tempPath());

    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(FakeJtagFolder()).canonicalPath());

    // Nothing is called without a link handle.
    uint8_t buffer[4] = {};
    EXPECT_FALSE(port.Write(buffer, 4));
    EXPECT_EQ(port.Read(buffer, 4, 100), 0);
    EXPECT_FALSE(port.GetInfo(buffer));
    port.Close();
    const auto counters = Fake.Counters();
    EXPECT_EQ(counters.Writes + counters.Reads + counters.GetInfos + counters.Closes, 0u);
}

TEST_F(JtagPortTest, ReadChecksItsLimitBeforeEveryLibraryCall)
{
    TJtagPort port(Host, 0, QString());
    ASSERT_TRUE(port.Open());
    uint8_t buffer[10] = {};

    EXPECT_EQ(port.Read(buffer, 0, 1000), 0);
    EXPECT_EQ(port.Read(buffer, 10, 0), 0);
    EXPECT_EQ(Fake.Counters().Reads, 0u);

    EXPECT_EQ(port.Read(buffer, 10, 1), 0);
    EXPECT_GE(Fake.Counters().Reads, 1u);
}

TEST_F(JtagPortTest, ShortReadKeepsWhatCameAtTheStartOfTheBuffer)
{
    TJtagPort port(Host, 0, QString());
    ASSERT_TRUE(port.Open());
    Fake.Queue({1, 2, 3});
    Fake.QueueAfter(5000, {4, 5, 6, 7});
    uint8_t buffer[10] = {};

    const uint32_t start = Fake->Now();
    EXPECT_EQ(port.Read(buffer, 10, 3000), 3);
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(buffer[3], 0);
    EXPECT_EQ(Fake->Now() - start, 3000u);
}

TEST_F(JtagPortTest, ReadAcrossATickWrapRunsItsFullLimit)
{
    TJtagPort port(Host, 0, QString());
    ASSERT_TRUE(port.Open());
    Fake->SetNow(0xFFFFFF00u);
    // Available 1000 ms later, after the counter wrapped through zero.
    Fake.QueueAfter(1000, {0xAB, 0xCD});
    uint8_t buffer[2] = {};

    EXPECT_EQ(port.Read(buffer, 2, 3000), 2);
    EXPECT_EQ(buffer[1], 0xCD);
}

TEST_F(JtagPortTest, NegativeOrOverlongLibraryAnswersNeverMoveOutsideTheBuffer)
{
    TJtagPort port(Host, 0, QString());
    ASSERT_TRUE(port.Open());
    uint8_t buffer[4] = {};

    Fake->SetNegativeReads(1000000);
    EXPECT_EQ(port.Read(buffer, 4, 50), 0);

    Fake->SetNegativeReads(3);
    Fake.Queue({9, 8, 7, 6});
    EXPECT_EQ(port.Read(buffer, 4, 50), 4);
    EXPECT_EQ(buffer[0], 9);

    // A library claiming more than the room is held to the room.
    Fake->SetOverlongReads(1);
    Fake.Queue({1, 2});
    EXPECT_EQ(port.Read(buffer, 2, 50), 2);
}

TEST_F(JtagPortTest, GetInfoFillsTheCallersRecord)
{
    std::vector<uint8_t> record(JTAG_INFO_SIZE, 0);
    record[JTAG_INFO_NAME_OFFSET] = 'Q';
    Fake->SetInfo(1, record.data(), static_cast<uint32_t>(record.size()));
    TJtagPort port(Host, 0, QString());
    ASSERT_TRUE(port.Open());

    uint8_t info[JTAG_INFO_SIZE] = {};
    ASSERT_TRUE(port.GetInfo(info));
    EXPECT_EQ(info[JTAG_INFO_NAME_OFFSET], 'Q');
}

TEST(JtagPortLoadTest, MissingLibraryShowsItsPathAndNeverOpens)
{
    TRecordingHost host(QStringLiteral(HX9_NO_LIBRARY_DIR "/"));
    TJtagPort port(host, 0, QString());

    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Kind, THost::mkError);
    EXPECT_EQ(host.Messages[0].Text,
              QStringLiteral("fail to load dll - " HX9_NO_LIBRARY_DIR "/KELVARO_JTAG.so"));
    EXPECT_FALSE(port.IsLoaded());
    EXPECT_FALSE(port.Open());
    uint8_t buffer[4] = {};
    EXPECT_FALSE(port.Write(buffer, 4));
    EXPECT_EQ(port.Read(buffer, 4, 10), 0);
    EXPECT_FALSE(port.GetInfo(buffer));
}

TEST(JtagPortLoadTest, IncompleteLibraryIsRefusedAndNeverCalled)
{
    const QString folder = QStringLiteral(HX9_FAKE_JTAG_INCOMPLETE_DIR "/");
    TFakeJtag fake(folder + QStringLiteral("KELVARO_JTAG.so"));
    TRecordingHost host(folder);
    TJtagPort port(host, 0, QString());

    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Kind, THost::mkError);
    EXPECT_EQ(host.Messages[0].Text, QStringLiteral("fail to find some API"));
    EXPECT_FALSE(port.IsLoaded());
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(fake.Counters().Opens, 0u);
}
} // namespace
