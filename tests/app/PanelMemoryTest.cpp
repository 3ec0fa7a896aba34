#include "tests/app/MainWindowFixture.h"

#include "panels/UnitMemory.h"
#include "panels/UnitProgress.h"
#include "tests/support/ScratchFolder.h"
#include "transfer/MemoryType.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QRandomGenerator>

namespace
{
using TMessages = std::vector<TRecordingHost::TMessage>;

constexpr int SRAM_BYTES = 0x80000;
// Client points of the action buttons, by id.
const QPoint ACTION_CENTRES[] = {{338, 97}, {221, 97}, {74, 97}, {281, 170}, {281, 244}};

} // namespace

// The memory panel on the memory tab of a connected main window, SRAM selected.
class MemoryPanelTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        StartBoard(true);
        LinkEverything();
        OpenWindow();
        AutoConnect();
        Click(TabCentre(TAB_MEMORY));
        m_pMemory = dynamic_cast<TFormMemory*>(m_pForm->Panel(TAB_MEMORY));
        ASSERT_TRUE(m_pMemory && IsShown(m_pMemory));
        SelectType(MEMORY_TYPE_SRAM);
    }

    void SelectType(int index)
    {
        m_pMemory->ComboBoxMemType->setCurrentIndex(index);
        emit m_pMemory->ComboBoxMemType->activated(index);
    }

    // Press and release on the panel, as the pointer does.
    void ClickAction(int32_t id)
    {
        QTest::mouseMove(m_pMemory, ACTION_CENTRES[id]);
        QTest::mouseClick(m_pMemory, Qt::LeftButton, {}, ACTION_CENTRES[id]);
    }

    // Runs action once, inside the transfer's event loop, when its dialog shows percent or more.
    void AtPercent(int percent, std::function<void(TFormProgress&)> action)
    {
        auto* timer = new QTimer(m_pMemory);
        QObject::connect(timer, &QTimer::timeout, timer,
                         [this, timer, percent, action]
                         {
                             auto* dialog = m_pMemory->findChild<TFormProgress*>();
                             if (!dialog || dialog->ProgressBar->value() < percent)
                                 return;
                             timer->stop();
                             timer->deleteLater();
                             action(*dialog);
                         });
        timer->start(0);
    }

    hx9test::TScratchFolder m_Scratch;
    TFormMemory* m_pMemory = nullptr;
};

TEST_F(MemoryPanelTest, ButtonsCheckBoxesWordAccessAndTheDisconnectedBoard)
{
    for (int32_t id = ID_MEM_RANDOM_READ; id <= ID_MEM_READ_FILE; ++id)
        EXPECT_EQ(m_pMemory->ActionButtons().IsEnabled(id), id != ID_MEM_ERASE) << id;

    // "File Length": checking changes nothing, unchecking resets both fields to the type's.
    m_pMemory->EditMemWriteAddr->setText("12");
    QTest::mouseClick(m_pMemory->CheckBoxMemWriteFileLen, Qt::LeftButton);
    EXPECT_TRUE(m_pMemory->CheckBoxMemWriteFileLen->isChecked());
    EXPECT_EQ(m_pMemory->EditMemWriteAddr->text(), "12");
    QTest::mouseClick(m_pMemory->LabelFileLength, Qt::LeftButton);
    EXPECT_FALSE(m_pMemory->CheckBoxMemWriteFileLen->isChecked());
    EXPECT_EQ(m_pMemory->EditMemWriteAddr->text() + " " + m_pMemory->EditMemWriteLen->text(),
              "00000 40000");

    // "Entire Memory" by its caption disables the fields, by its box enables them again.
    QTest::mouseClick(m_pMemory->LabelEntireMemory, Qt::LeftButton);
    EXPECT_FALSE(m_pMemory->EditMemReadAddr->isEnabled());
    QTest::mouseClick(m_pMemory->CheckBoxMemReadEntireMem, Qt::LeftButton);
    EXPECT_FALSE(m_pMemory->CheckBoxMemReadEntireMem->isChecked());
    EXPECT_TRUE(m_pMemory->EditMemReadLen->isEnabled());

    // LPDDR2 0 <- 1234: the bytes 34 12 at byte address 0.
    SelectType(MEMORY_TYPE_LPDDR2);
    m_pMemory->EditMemRdmWrite->setText("1234");
    ClickAction(ID_MEM_RANDOM_WRITE);
    EXPECT_EQ(BoardMemory("lpddr2", 0, 2), QByteArray::fromHex("3412"));
    ExpectInfo("LPDDR2 Random Write Success", INFO_GREEN);

    // SRAM 3FFFF is byte address 7FFFE; a failed read keeps the word shown, the link, no box.
    SelectType(MEMORY_TYPE_SRAM);
    m_pMemory->EditMemRdmAddr->setText("3FFFF");
    SetBoardMemory("sram", 0x7FFFE, QByteArray::fromHex("cdab"));
    ClickAction(ID_MEM_RANDOM_READ);
    EXPECT_EQ(m_pMemory->EditMemRdmRead->text(), "ABCD");
    ExpectInfo("SRAM Random Read Success", INFO_GREEN);
    ASSERT_TRUE(m_pBoard->Command("fault checksum"));
    SetBoardMemory("sram", 0x7FFFE, QByteArray::fromHex("1111"));
    ClickAction(ID_MEM_RANDOM_READ);
    EXPECT_EQ(m_pMemory->EditMemRdmRead->text(), "ABCD");
    ExpectInfo("SRAM Random Read Fail", INFO_RED);
    EXPECT_TRUE(m_pHost->Messages.empty());
    EXPECT_TRUE(m_pForm->Board().IsConnected());

    // Disconnected: no action answers.
    Click(CONNECT_CENTRE);
    ASSERT_FALSE(m_pForm->Board().IsConnected());
    m_pMemory->AttachBoard(&m_pForm->Board());
    const int requests = BoardRequests();
    ClickAction(ID_MEM_RANDOM_READ);
    ClickAction(ID_MEM_READ_FILE);
    EXPECT_TRUE(m_pHost->FileQuestions.empty());
    EXPECT_EQ(BoardRequests(), requests);
}

TEST_F(MemoryPanelTest, WholeSramToBinaryAndHexAndBack)
{
    // "Entire Memory" checked on the LPDDR2 reads the type selected when the load runs.
    SelectType(MEMORY_TYPE_LPDDR2);
    QTest::mouseClick(m_pMemory->LabelEntireMemory, Qt::LeftButton);
    SelectType(MEMORY_TYPE_SRAM);
    ASSERT_EQ(m_pMemory->EditMemReadAddr->text() + " " + m_pMemory->EditMemReadLen->text(),
              "0000000 10000000");
    QTest::mouseClick(m_pMemory->LabelFileLength, Qt::LeftButton);
    QByteArray content(SRAM_BYTES, '\0');
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32*>(content.data()), SRAM_BYTES / 4);
    SetBoardMemory("sram", 0, content);
    for (const bool hex : {false, true})
    {
        const QString path = m_Scratch.Path(hex ? "sram.Hex" : "sram.bin");
        m_pHost->SaveFileAnswer = m_pHost->OpenFileAnswer = path;
        int requests = BoardRequests();
        ClickAction(ID_MEM_READ_FILE);
        EXPECT_EQ(BoardRequests() - requests, 1 + 21) << "a keep-alive, 20 x 26214 and 8";
        EXPECT_EQ(m_Scratch.Read(path), hex ? content.toHex().toUpper() : content);
        ExpectInfo("Load SRAM Content to a File Success. (", INFO_GREEN);
        // Back in after the memory was cleared: byte for byte the same.
        SetBoardMemory("sram", 0, QByteArray(SRAM_BYTES, '\0'));
        requests = BoardRequests();
        ClickAction(ID_MEM_WRITE_FILE);
        EXPECT_EQ(BoardMemory("sram", 0, SRAM_BYTES), content) << hex;
        EXPECT_EQ(BoardRequests() - requests, 1 + 21 * 2) << "a keep-alive before every chunk";
        EXPECT_EQ(m_pMemory->EditMemWriteLen->text(), "40000");
        ExpectInfo("Write a File to SRAM Success.[", INFO_GREEN);
    }
    EXPECT_EQ(
        m_pHost->FileQuestions.back(),
        (TRecordingHost::TFileQuestion{false, "All files (*);;Hex files (*.hex *.HEX)", "bin"}));
    EXPECT_TRUE(m_pHost->Messages.empty());
}

TEST_F(MemoryPanelTest, FileWritesAndTheirFailures)
{
    const struct
    {
        const char* Name;
        QByteArray Content;
        const char* Length;  // nullptr: "File Length"
        QByteArray Written;  // at word address 0
        const char* Warning; // "%1" is the path
        bool ErrorBox;
    } cases[] = {
        {"abc.HEX", "ABC", nullptr, QByteArray::fromHex("abc0"), nullptr, false},
        {"five.bin", "12345", nullptr, "12345", nullptr, false},
        {"empty.bin", "", nullptr, "", nullptr, false},
        {"break.hex", "AB\nCD", nullptr, "", "invalid hex file.", true},
        {"short.bin", "1234", "3", "", "File(%1) size is less than the specified length.", false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.Name);
        SetBoardMemory("sram", 0, QByteArray(8, '\0'));
        m_pHost->Messages.clear();
        m_pMemory->CheckBoxMemWriteFileLen->setChecked(c.Length == nullptr);
        if (c.Length)
            m_pMemory->EditMemWriteLen->setText(c.Length);
        m_pHost->OpenFileAnswer = m_Scratch.Make(c.Name, c.Content);
        ClickAction(ID_MEM_WRITE_FILE);
        EXPECT_EQ(BoardMemory("sram", 0, 8), c.Written + QByteArray(8 - c.Written.size(), '\0'));
        const bool ok = c.Warning == nullptr;
        ExpectInfo(ok ? "Write a File to SRAM Success.[" : "Write a File to SRAM Fail.[",
                   ok ? INFO_GREEN : INFO_RED);
        TMessages messages;
        if (c.Warning)
            messages.push_back(
                {THost::mkWarning, QString(c.Warning).replace("%1", m_pHost->OpenFileAnswer)});
        if (c.ErrorBox)
            messages.push_back({THost::mkError, Info()});
        EXPECT_EQ(m_pHost->Messages, messages);
    }

    // 3FFF0 and 10 words reach the SRAM's end: the dialog comes (cancelled); 11 are refused.
    m_pHost->Messages.clear();
    m_pHost->OpenFileAnswer.clear();
    m_pMemory->CheckBoxMemWriteFileLen->setChecked(false);
    m_pMemory->EditMemWriteAddr->setText("3FFF0");
    m_pMemory->EditMemWriteLen->setText("10");
    const int requests = BoardRequests();
    ClickAction(ID_MEM_WRITE_FILE);
    ExpectInfo("Write a File to SRAM Aborted.", INFO_RED);
    const std::size_t questions = m_pHost->FileQuestions.size();
    m_pMemory->EditMemWriteLen->setText("11");
    ClickAction(ID_MEM_WRITE_FILE);
    ExpectInfo("Invalud Input Data.", INFO_RED);
    EXPECT_EQ(m_pHost->Messages,
              (TMessages{{THost::mkError, "The input value(11) for the field 'Length' is expected "
                                          "to less or equal to 10h."}}));
    EXPECT_EQ(m_pHost->FileQuestions.size(), questions);
    EXPECT_EQ(BoardRequests(), requests);
}

TEST_F(MemoryPanelTest, FilesThatCannotBeUsedLoseNothing)
{
    m_pMemory->EditMemReadLen->setText("10");
    m_pMemory->CheckBoxMemWriteFileLen->setChecked(true);
    const struct
    {
        int32_t Action;
        QString Path;
        const char* Warning;
        bool Sends;
    } cases[] = {
        {ID_MEM_READ_FILE, m_Scratch.Path(), "it is a folder", false},
        {ID_MEM_READ_FILE, m_Scratch.Path("missing/x.bin"), "cannot create", false},
        {ID_MEM_READ_FILE, "/dev/full", "Write file(/dev/full) error.", true},
        {ID_MEM_WRITE_FILE, m_Scratch.Path(), "it is a folder", false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.Path.toStdString());
        m_pHost->Messages.clear();
        m_pHost->SaveFileAnswer = m_pHost->OpenFileAnswer = c.Path;
        const int requests = BoardRequests();
        ClickAction(c.Action);
        ASSERT_EQ(m_pHost->Messages.size(), 2u);
        EXPECT_TRUE(m_pHost->Messages[0].Text.contains(c.Warning))
            << m_pHost->Messages[0].Text.toStdString();
        EXPECT_EQ(m_pHost->Messages[1], (TRecordingHost::TMessage{THost::mkError, Info()}));
        ExpectInfo(c.Action == ID_MEM_READ_FILE ? "Load SRAM Content to a File Fail. ("
                                                : "Write a File to SRAM Fail.[",
                   INFO_RED);
        EXPECT_EQ(BoardRequests() > requests, c.Sends);
        EXPECT_FALSE(m_pMemory->IsBusy());
    }

    // A load that fails on the link leaves the old file as it was and never reports the link.
    const QString old = m_Scratch.Make("old.bin", "keep me");
    ASSERT_TRUE(m_pBoard->Command("fault checksum"));
    m_pHost->SaveFileAnswer = old;
    ClickAction(ID_MEM_READ_FILE);
    EXPECT_EQ(m_Scratch.Read(old), "keep me");
    EXPECT_TRUE(m_pForm->Board().IsConnected());
}

// While a transfer lets events through: Abort; clicks on a tab or another transfer wait and
// the window system's close is refused; a tab switch that happens takes the board away and
// fails the transfer; only a link fault is one.
TEST_F(MemoryPanelTest, EventsDuringATransfer)
{
    QTest::mouseClick(m_pMemory->LabelEntireMemory, Qt::LeftButton);
    m_pMemory->CheckBoxMemWriteFileLen->setChecked(true);
    m_pHost->SaveFileAnswer = m_Scratch.Path("out.bin");
    m_pHost->OpenFileAnswer = m_Scratch.Make("in.bin", QByteArray(SRAM_BYTES, 'x'));
    const auto clickAroundAndAbort = [&](TFormProgress& dialog)
    {
        Click(TabCentre(TAB_LED));
        ClickAction(ID_MEM_WRITE_FILE);
        EXPECT_FALSE(m_pForm->windowHandle()->close()) << "the window system's close obeyed";
        QTest::mouseClick(dialog.ButtonAbort, Qt::LeftButton);
        QTest::mouseClick(dialog.ButtonAbort, Qt::LeftButton); // the same as once
    };
    const auto switchTab = [&](TFormProgress&) { m_pForm->SelectTab(TAB_LED); };
    const struct
    {
        int32_t Action;
        std::function<void(TFormProgress&)> During;
        const char* Info;
        int Tab; // afterwards
    } cases[] = {
        {ID_MEM_READ_FILE, clickAroundAndAbort, "Load SRAM Content to a File Aborted.", TAB_MEMORY},
        {ID_MEM_READ_FILE, switchTab, "Load SRAM Content to a File Fail. (", TAB_LED},
        {ID_MEM_WRITE_FILE, switchTab, "Write a File to SRAM Fail.[", TAB_LED},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.Info);
        m_pForm->SelectTab(TAB_MEMORY);
        m_pHost->Messages.clear();
        const std::size_t questions = m_pHost->FileQuestions.size();
        AtPercent(30, c.During);
        ClickAction(c.Action);
        ExpectInfo(c.Info, INFO_RED);
        EXPECT_EQ(m_pForm->CurrentTab(), c.Tab);
        EXPECT_EQ(m_pMemory->Board() == nullptr, c.Tab == TAB_LED);
        EXPECT_EQ(m_pHost->FileQuestions.size(), questions + 1) << "no second transfer";
        EXPECT_EQ(m_pMemory->findChild<TFormProgress*>(), nullptr);
        const TMessages errorBox{{THost::mkError, Info()}};
        EXPECT_EQ(m_pHost->Messages, Info().contains("Fail") ? errorBox : TMessages{});
        EXPECT_TRUE(m_pForm->Board().IsConnected()) << "no link failure";
        EXPECT_TRUE(TabsEnabled(true));
        EXPECT_TRUE(m_pForm->isVisible());
    }

    // A real link fault in a write: reported once, with the result shown and the busy state left.
    m_pForm->SelectTab(TAB_MEMORY);
    m_pHost->Messages.clear();
    QStringList reports; // the info line at each report, or "busy"
    m_pMemory->OnLinkFailure = [&, original = m_pMemory->OnLinkFailure](TFormPanel* sender)
    {
        reports += m_pMemory->IsBusy() || !TabsEnabled(true) ? "busy" : Info();
        original(sender);
    };
    AtPercent(30, [&](TFormProgress&) { EXPECT_TRUE(m_pBoard->Command("fault checksum")); });
    ClickAction(ID_MEM_WRITE_FILE);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith("Write a File to SRAM Fail.[")) << reports[0].toStdString();
    EXPECT_EQ(m_pHost->Messages, (TMessages{{THost::mkError, reports[0]}}));
    EXPECT_TRUE(m_pMemory->LinkFailed());
    EXPECT_FALSE(m_pForm->Board().IsConnected());
}
