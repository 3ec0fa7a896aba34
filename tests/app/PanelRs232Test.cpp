#include "tests/app/PanelFixture.h"

#include "panels/ReceiveBox.h"
#include "panels/UnitRS232.h"
#include "tests/app/BoardValue.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{

const QPoint SEND_CENTRE(289 + 32, 242 + 8);
const QPoint CLEAR_CENTRE(289 + 32, 138 + 8);
constexpr int POLL_WAIT_MS = 2000; // many polls of 100 ms, for a loaded machine

const TInfoLine MONITOR{"RS232 Monitor...", TInfoColour::Yellow};

using Rs232PanelTest = PanelTest<TFormRS232>;

// The terminal side of the board's pseudo-terminal, opened as a serial terminal program does.
class TTerminal
{
public:
    explicit TTerminal(const std::string& path)
        : m_Fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios settings{};
        if (m_Fd >= 0 && ::tcgetattr(m_Fd, &settings) == 0)
        {
            ::cfmakeraw(&settings);
            ::tcsetattr(m_Fd, TCSANOW, &settings);
        }
    }
    ~TTerminal()
    {
        if (m_Fd >= 0)
            ::close(m_Fd);
    }
    bool IsOpen() const { return m_Fd >= 0; }
    bool Type(const std::string& text)
    {
        return ::write(m_Fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    // Everything that arrives until count bytes came or the wait ran out.
    std::string Read(size_t count, int waitMs)
    {
        std::string text;
        pollfd entry{m_Fd, POLLIN, 0};
        while (text.size() < count && ::poll(&entry, 1, waitMs) > 0)
        {
            char buffer[256];
            const ssize_t n = ::read(m_Fd, buffer, sizeof(buffer));
            if (n <= 0)
                break;
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }

private:
    int m_Fd;
};

} // namespace

TEST_F(Rs232PanelTest, SendsTheTextWithItsZeroByteIn128ByteRequests)
{
    TFormRS232& rs232 = *m_pPanel;
    Attach();
    EXPECT_EQ(BoardValue(*m_pBoard, "uart"), "running=1 sent=0 to-receive=0");
    EXPECT_TRUE(rs232.Buttons().IsEnabled(RS232_ID_SEND));
    EXPECT_TRUE(rs232.IsPolling());

    struct TSendCase
    {
        std::string Text;
        std::string Blocks;
    };
    const TSendCase cases[] = {{"abc", "4"}, {"", "1"}, {std::string(200, 'x'), "128 73"}};
    for (const TSendCase& test : cases)
    {
        SCOPED_TRACE(test.Text.size());
        ASSERT_TRUE(m_pBoard->Command("uart clear"));
        m_Info.clear();
        rs232.EditSend->setText(QString::fromStdString(test.Text));
        Click(SEND_CENTRE);
        EXPECT_EQ(BoardValue(*m_pBoard, "uart blocks"), test.Blocks);
        QByteArray sent = QByteArray::fromStdString(test.Text);
        sent.append('\0');
        EXPECT_EQ(BoardValue(*m_pBoard, "uart sent"), sent.toHex().toStdString());
        const std::vector<TInfoLine> info{{"RS232 transmitting...", TInfoColour::Yellow},
                                          {"RS232 transmit successfully.", TInfoColour::Green}};
        EXPECT_EQ(m_Info, info);
        EXPECT_EQ(rs232.EditSend->text().toStdString(), test.Text) << "the text stays";
        EXPECT_TRUE(rs232.Buttons().IsEnabled(RS232_ID_SEND));
    }
    EXPECT_EQ(m_LinkFailures, 0);
}

TEST_F(Rs232PanelTest, ReceivedBytesAreAppendedUpToTheFirstZeroByte)
{
    TFormRS232& rs232 = *m_pPanel;
    Attach();
    rs232.EditRx->SetText("abc");
    struct TReceiveCase
    {
        const char* Board;
        const char* Shown;
    };
    const TReceiveCase cases[] = {
        {"uart receive-text hello", "abchello"},
        {"uart receive 41420043", "abchelloAB"}, // the C behind the zero byte is lost
    };
    for (const TReceiveCase& test : cases)
    {
        SCOPED_TRACE(test.Board);
        ASSERT_TRUE(m_pBoard->Command(test.Board));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return rs232.EditRx->Text() == test.Shown; }, POLL_WAIT_MS))
            << rs232.EditRx->Text().toStdString();
    }

    // Nothing to fetch: only the information line is written again.
    m_Info.clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_Info.size() >= 2; }, POLL_WAIT_MS));
    EXPECT_EQ(rs232.EditRx->Text(), "abchelloAB");
    EXPECT_EQ(m_Info.front(), MONITOR);
    EXPECT_EQ(m_Info.back(), MONITOR);

    Click(CLEAR_CENTRE);
    EXPECT_EQ(rs232.EditRx->Text(), "");
}

TEST_F(Rs232PanelTest, DetachStopsTheMonitorAndADisconnectedBoardStartsNothing)
{
    TFormRS232& rs232 = *m_pPanel;
    Attach();
    rs232.DetachBoard();
    EXPECT_EQ(BoardValue(*m_pBoard, "uart"), "running=0 sent=0 to-receive=0");
    EXPECT_FALSE(rs232.IsPolling());
    EXPECT_FALSE(rs232.Buttons().IsEnabled(RS232_ID_SEND));

    m_pLinkBoard->Disconnect();
    m_Info.clear();
    const long before = Requests();
    Attach();
    EXPECT_FALSE(rs232.IsPolling());
    EXPECT_FALSE(rs232.Buttons().IsEnabled(RS232_ID_SEND));
    EXPECT_EQ(m_Info, (std::vector<TInfoLine>{{"", TInfoColour::Green}}));
    rs232.DetachBoard();
    EXPECT_EQ(Requests(), before);
    EXPECT_TRUE(rs232.Buttons().IsEnabled(RS232_ID_CLEAR));
}

TEST_F(Rs232PanelTest, AFailedPollStopsPollingAndIsALinkFailure)
{
    TFormRS232& rs232 = *m_pPanel;
    Attach();
    ASSERT_TRUE(m_pBoard->InjectFault("checksum"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_LinkFailures > 0; }, POLL_WAIT_MS));
    EXPECT_EQ(m_Info.back(), (TInfoLine{"RS232 receive fail.", TInfoColour::Red}));
    EXPECT_FALSE(rs232.IsPolling());
    EXPECT_TRUE(rs232.Buttons().IsEnabled(RS232_ID_SEND)) << "until detach";
    QTest::qWait(300);
    EXPECT_EQ(m_LinkFailures, 1);
}

// A person at a serial terminal and the panel talk through the board's pseudo-terminal.
TEST_F(Rs232PanelTest, TheBoardsTerminalTalksWithThePanelBothWays)
{
    TFormRS232& rs232 = *m_pPanel;
    const std::string path = BoardValue(*m_pBoard, "uart terminal");
    TTerminal terminal(path);
    ASSERT_TRUE(terminal.IsOpen()) << path;
    Attach();

    ASSERT_TRUE(terminal.Type("typed on the terminal"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rs232.EditRx->Text() == "typed on the terminal"; },
                                POLL_WAIT_MS))
        << rs232.EditRx->Text().toStdString();

    rs232.EditSend->setText("from the panel");
    Click(SEND_CENTRE);
    EXPECT_EQ(terminal.Read(15, POLL_WAIT_MS), std::string("from the panel\0", 15));
}

// Text with no line end for many polls, then lines with a carriage return and a control
// character: the box keeps every byte as received, a copy holds the lines as shown, and no
// paragraph grows with the text (the last one is laid out again on every append).
TEST(ReceiveBox, LongTextIsKeptWholeAndCopiedAsShown)
{
    TReceiveBox box(nullptr);
    box.resize(320, 60);
    box.show();
    QByteArray received;
    for (int poll = 0; poll < 100; ++poll)
    {
        const QByteArray chunk(128, static_cast<char>('a' + poll % 26));
        received += chunk;
        box.Append(chunk);
    }
    const QString longLine = QString::fromLatin1(received);
    box.Append("\r\nnext\x01line\n");
    received += "\r\nnext\x01line\n";
    EXPECT_EQ(box.Text(), QString::fromLatin1(received));

    box.selectAll();
    box.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), longLine + "\nnext line\n");
    int longest = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        longest = std::max(longest, block.layout()->lineCount());
    EXPECT_LE(longest, 8);
}
