#include "session/ConnectSequence.h"
#include "board/Board.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/VirtualBoardProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{

using TLog = std::vector<std::string>;

std::string ColourName(TInfoColour colour)
{
    switch (colour)
    {
    case TInfoColour::Green:
        return "green";
    case TInfoColour::Red:
        return "red";
    case TInfoColour::Yellow:
        break;
    }
    return "yellow";
}

// Writes every call, in order, into a log that the host's messages share.
class TRecordingView : public TConnectView
{
public:
    explicit TRecordingView(TLog& log) : m_Log(log) {}

    void SetInfo(const QString& text, TInfoColour colour) override
    {
        m_Log.push_back("info '" + text.toStdString() + "' " + ColourName(colour));
    }
    void SetConnectStatus(const QString& text, TInfoColour colour) override
    {
        m_Log.push_back("status '" + text.toStdString() + "' " + ColourName(colour));
    }
    void SetConnectLook(bool connected) override
    {
        m_Log.push_back(connected ? "look connected" : "look disconnected");
    }
    void StartProgress(uint32_t duration, int from, int to) override
    {
        m_Log.push_back("gauge " + std::to_string(duration) + " " + std::to_string(from) + "->" +
                        std::to_string(to));
    }
    void PauseProgress() override { m_Log.push_back("gauge paused"); }
    void StopProgress() override { m_Log.push_back("gauge hidden"); }
    void SetBusy(bool busy) override { m_Log.push_back(busy ? "busy" : "idle"); }

private:
    TLog& m_Log;
};

const TLog FIRST_ATTEMPT_ON_A_BLANK_BOARD = {
    "busy",
    "status '' yellow",
    "gauge 5000 0->5",
    "info 'Connecting Board...' yellow",
    "info 'Detect board type...' yellow",
    "info 'Fail to connect FPGA borad.' red",
    "info 'Configure FPGA...' yellow",
};

TLog Concat(TLog head, const TLog& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

class ConnectSequenceTest : public ::testing::Test
{
protected:
    ConnectSequenceTest() : m_QuartusRoot(QString::fromStdString(hx9test::QuartusRoot())) {}

    void TearDown() override { QDir::setCurrent(m_StartFolder); }

    void StartBlankBoard()
    {
        m_pBoardProcess = std::make_unique<hx9test::TVirtualBoardProcess>();
        ASSERT_TRUE(m_pBoardProcess->Start()) << m_pBoardProcess->LastError();
        ASSERT_TRUE(m_Folder.Link(JTAG_LIBRARY));
        ASSERT_TRUE(m_Folder.Link(DOWNLOAD_LIBRARY));
    }

    bool Connect()
    {
        TRecordingHost host(m_Folder.Path());
        host.OnMessage = [&]
        { m_Log.push_back("message '" + host.Messages.back().Text.toStdString() + "'"); };
        TBoard board(host);
        TRecordingView view(m_Log);
        TConnectSequence sequence(board, host, view);
        const bool ok = sequence.DoConnect();
        m_bLinkOpen = board.IsConnected();
        m_Failure = sequence.LastFailure();
        return ok;
    }

    QString m_StartFolder = QDir::currentPath();
    TQuartusRoot m_QuartusRoot;
    TProgramFolder m_Folder;
    std::unique_ptr<hx9test::TVirtualBoardProcess> m_pBoardProcess;
    TLog m_Log;
    bool m_bLinkOpen = false;
    TConnectFailure m_Failure = TConnectFailure::None;
};

TEST_F(ConnectSequenceTest, BlankBoardIsConfiguredThenConnectedInTheWindowsOrder)
{
    StartBlankBoard();
    ASSERT_TRUE(m_Folder.Link(IMAGE_FILE));
    EXPECT_TRUE(Connect());
    EXPECT_TRUE(m_bLinkOpen) << "the link is reopened after the name check";
    EXPECT_EQ(m_Failure, TConnectFailure::None);
    EXPECT_EQ(m_Log,
              Concat(FIRST_ATTEMPT_ON_A_BLANK_BOARD, {
                                                         "status 'Disconnected' red",
                                                         "gauge 10000 5->95",
                                                         "info 'Configure FPGA...' yellow",
                                                         "info 'Configure FPGA success' green",
                                                         "info 'Connecting Board...' yellow",
                                                         "info 'Detect board type...' yellow",
                                                         "info 'Check board ID...' yellow",
                                                         "status 'Connected' green",
                                                         "look connected",
                                                         "gauge hidden",
                                                         "info '' yellow",
                                                         "look connected",
                                                         "idle",
                                                     }));
}

// The gauge stops where it stands before the box, and the result line follows the box.
TEST_F(ConnectSequenceTest, RefusedDownloadPausesTheGaugeBeforeTheBoxAndEndsDisconnected)
{
    StartBlankBoard();
    ASSERT_TRUE(m_Folder.Write(IMAGE_FILE, "not an FPGA image"));
    EXPECT_FALSE(Connect());
    EXPECT_FALSE(m_bLinkOpen);
    EXPECT_EQ(m_Failure, TConnectFailure::Configure);
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(m_Folder.Path()).canonicalPath());
    EXPECT_EQ(m_Log, Concat(FIRST_ATTEMPT_ON_A_BLANK_BOARD,
                            {
                                "status 'Disconnected' red",
                                "gauge 10000 5->95",
                                "info 'Configure FPGA...' yellow",
                                "gauge paused",
                                "message 'download SOPC file (HX9_ControlPanel.sof) fail!'",
                                "info 'Configure FPGA fail' red",
                                "status 'Disconnected' red",
                                "gauge hidden",
                                "look disconnected",
                                "idle",
                            }));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
