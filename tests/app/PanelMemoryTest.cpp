#include "tests/app/MainWindowFixture.h"

#include "panels/MemoryType.h"
#include "panels/UnitMemory.h"
#include "panels/UnitProgress.h"
#include "tests/support/ScratchFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QRandomGenerator>

namespace
{

using TMessages = std::vector<TRecordingHost::TMessage>;
using hx9test::TScratchFolder;

constexpr int SRAM_BYTES = 0x80000;
const QString FILE_FILTER = "All files (*);;Hex files (*.hex *.HEX)";
// Client points of the action buttons, by id.
const QPoint ACTION_CENTRES[] = {{338, 97}, {221, 97}, {74, 97}, {281, 170}, {281, 244}};

QByteArray Pattern(quint32 seed)
{
    QByteArray bytes(SRAM_BYTES, '\0');
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(bytes.data()), SRAM_BYTES / 4);
    return bytes;
}

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

    QString Info() const { return m_pForm->LabelInfo->text(); }

    // The info line: this text, or up to the elapsed time when it ends in '(' or '['.
    void ExpectInfo(const QString& text, QRgb colour)
    {
        const bool timed = text.endsWith('(') || text.endsWith('[');
        EXPECT_TRUE(timed ? Info().startsWith(text) : Info() == text) << Info().toStdString();
        EXPECT_EQ(TextColour(m_pForm->LabelInfo), QColor(colour)) << text.toStdString();
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

    TScratchFolder m_Scratch;
    TFormMemory* m_pMemory = nullptr;
};

TEST_F(MemoryPanelTest, ButtonsCheckBoxesAndTheDisconnectedBoard)
{
    TFormMemory& memory = *m_pMemory;
    EXPECT_TRUE(memory.EditMemRdmRead->isReadOnly());
    const TButtonManager& buttons = memory.ActionButtons();
    EXPECT_EQ(buttons.FindButton(ID_MEM_ERASE)->Caption(), "Chip Erase (70 sec)");
    for (int32_t id = ID_MEM_RANDOM_READ; id <= ID_MEM_READ_FILE; ++id)
        EXPECT_EQ(buttons.IsEnabled(id), id != ID_MEM_ERASE) << id;

    // "File Length": checking changes nothing, unchecking resets both fields to the type's.
    memory.EditMemWriteAddr->setText("12");
    QTest::mouseClick(memory.CheckBoxMemWriteFileLen, Qt::LeftButton);
    EXPECT_TRUE(memory.CheckBoxMemWriteFileLen->isChecked());
    EXPECT_EQ(memory.EditMemWriteAddr->text(), "12");
    QTest::mouseClick(memory.LabelFileLength, Qt::LeftButton);
    EXPECT_FALSE(memory.CheckBoxMemWriteFileLen->isChecked());
    EXPECT_EQ(memory.EditMemWriteAddr->text() + " " + memory.EditMemWriteLen->text(),
              "00000 40000");

    // "Entire Memory" by its caption: the fields show the whole LPDDR2, disabled.
    SelectType(MEMORY_TYPE_LPDDR2);
    QTest::mouseClick(memory.LabelEntireMemory, Qt::LeftButton);
    EXPECT_TRUE(memory.CheckBoxMemReadEntireMem->isChecked());
    EXPECT_EQ(memory.EditMemReadAddr->text() + " " + memory.EditMemReadLen->text(),
              "0000000 10000000");
    EXPECT_FALSE(memory.EditMemReadAddr->isEnabled());
    QTest::mouseClick(memory.CheckBoxMemReadEntireMem, Qt::LeftButton);
    EXPECT_FALSE(memory.CheckBoxMemReadEntireMem->isChecked());
    EXPECT_TRUE(memory.EditMemReadLen->isEnabled());

    // Disconnected: no action answers.
    Click(CONNECT_CENTRE);
    ASSERT_FALSE(m_pForm->Board().IsConnected());
    memory.AttachBoard(&m_pForm->Board());
    const int requests = BoardRequests();
    ClickAction(ID_MEM_RANDOM_READ);
    ClickAction(ID_MEM_READ_FILE);
    EXPECT_TRUE(m_pHost->FileQuestions.empty());
    EXPECT_EQ(BoardRequests(), requests);
}

TEST_F(MemoryPanelTest, RandomAccess)
{
    TFormMemory& memory = *m_pMemory;
    // LPDDR2 0 <- 1234: the bytes 34 12 at byte address 0.
    SelectType(MEMORY_TYPE_LPDDR2);
    memory.EditMemRdmWrite->setText("1234");
    ClickAction(ID_MEM_RANDOM_WRITE);
    EXPECT_EQ(BoardMemory("lpddr2", 0, 2), QByteArray::fromHex("3412"));
    ExpectInfo("LPDDR2 Random Write Success", INFO_GREEN);

    // SRAM 3FFFF is byte address 7FFFE; a failed read keeps the word shown, the link, no box.
    SelectType(MEMORY_TYPE_SRAM);
    memory.EditMemRdmAddr->setText("3FFFF");
    SetBoardMemory("sram", 0x7FFFE, QByteArray::fromHex("cdab"));
    ClickAction(ID_MEM_RANDOM_READ);
    EXPECT_EQ(memory.EditMemRdmRead->text(), "ABCD");
    ExpectInfo("SRAM Random Read Success", INFO_GREEN);
    ASSERT_TRUE(m_pBoard->Command("fault checksum"));
    SetBoardMemory("sram", 0x7FFFE, QByteArray::fromHex("1111"));
    ClickAction(ID_MEM_RANDOM_READ);
    EXPECT_EQ(memory.EditMemRdmRead->text(), "ABCD");
    ExpectInfo("SRAM Random Read Fail", INFO_RED);
    EXPECT_TRUE(m_pHost->Messages.empty());
    EXPECT_TRUE(m_pForm->Board().IsConnected());
}

TEST_F(MemoryPanelTest, WholeSramToBinaryAndHexAndBack)
{
    TFormMemory& memory = *m_pMemory;
    // "Entire Memory" checked on the LPDDR2 reads the type selected when the load runs.
    SelectType(MEMORY_TYPE_LPDDR2);
    QTest::mouseClick(memory.LabelEntireMemory, Qt::LeftButton);
    SelectType(MEMORY_TYPE_SRAM);
    ASSERT_EQ(memory.EditMemReadLen->text(), "10000000");
    QTest::mouseClick(memory.LabelFileLength, Qt::LeftButton);
    const QByteArray content = Pattern(1);
    for (const bool hex : {false, true})
    {
        SetBoardMemory("sram", 0, content);
        const QString path = m_Scratch.Path(hex ? "sram.Hex" : "sram.bin");
        m_pHost->SaveFileAnswer = m_pHost->OpenFileAnswer = path;
        int requests = BoardRequests();
        ClickAction(ID_MEM_READ_FILE);
        EXPECT_EQ(BoardRequests() - requests, 1 + 21) << "a keep-alive, 20 x 26214 and 8";
        EXPECT_EQ(TScratchFolder::Read(path), hex ? content.toHex().toUpper() : content);
        ExpectInfo("Load SRAM Content to a File Success. (", INFO_GREEN);

        // Back in after the memory was cleared: byte for byte the same.
        SetBoardMemory("sram", 0, QByteArray(SRAM_BYTES, '\0'));
        requests = BoardRequests();
        ClickAction(ID_MEM_WRITE_FILE);
        EXPECT_EQ(BoardMemory("sram", 0, SRAM_BYTES), content) << hex;
        EXPECT_EQ(BoardRequests() - requests, 1 + 21 * 2) << "a keep-alive before every chunk";
        EXPECT_EQ(memory.EditMemWriteLen->text(), "40000");
        ExpectInfo("Write a File to SRAM Success.[", INFO_GREEN);
    }
    EXPECT_EQ(m_pHost->FileQuestions.front(),
              (TRecordingHost::TFileQuestion{true, FILE_FILTER, "bin"}));
    EXPECT_EQ(m_pHost->FileQuestions.back(),
              (TRecordingHost::TFileQuestion{false, FILE_FILTER, "bin"}));
    EXPECT_TRUE(m_pHost->Messages.empty());
    EXPECT_FALSE(memory.IsBusy());
    EXPECT_TRUE(TabsEnabled(true));
}

TEST_F(MemoryPanelTest, FileWritesAndTheirFailures)
{
    TFormMemory& memory = *m_pMemory;
    const struct
    {
        const char* Name;
        QByteArray Content;
        const char* Length;  // nullptr: "File Length"
        QByteArray Written;  // at word address 0
        const char* Shown;   // the length field afterwards
        const char* Warning; // "%1" is the path
        bool ErrorBox;
    } cases[] = {
        {"abc.HEX", "ABC", nullptr, QByteArray::fromHex("abc0"), "1", nullptr, false},
        {"five.bin", "12345", nullptr, "12345", "3", nullptr, false},
        {"empty.bin", "", nullptr, "", "0", nullptr, false},
        {"break.hex", "AB\nCD", nullptr, "", "0", "invalid hex file.", true},
        {"short.bin", "1234", "3", "", "3", "File(%1) size is less than the specified length.",
         false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.Name);
        SetBoardMemory("sram", 0, QByteArray(8, '\0'));
        m_pHost->Messages.clear();
        memory.CheckBoxMemWriteFileLen->setChecked(c.Length == nullptr);
        memory.EditMemWriteAddr->setText("0");
        memory.EditMemWriteLen->setText(c.Length ? c.Length : "0");
        m_pHost->OpenFileAnswer = m_Scratch.Make(c.Name, c.Content);
        ClickAction(ID_MEM_WRITE_FILE);
        EXPECT_EQ(BoardMemory("sram", 0, 8), c.Written + QByteArray(8 - c.Written.size(), '\0'));
        EXPECT_EQ(memory.EditMemWriteLen->text(), c.Shown);
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

    // 3FFF0 and 10 words end at the SRAM's end: the dialog comes, and cancelled sends nothing.
    // One word more is refused before the dialog.
    m_pHost->Messages.clear();
    m_pHost->OpenFileAnswer.clear();
    memory.CheckBoxMemWriteFileLen->setChecked(false);
    memory.EditMemWriteAddr->setText("3FFF0");
    memory.EditMemWriteLen->setText("10");
    const int requests = BoardRequests();
    ClickAction(ID_MEM_WRITE_FILE);
    ExpectInfo("Write a File to SRAM Aborted.", INFO_RED);
    EXPECT_TRUE(m_pHost->Messages.empty());
    const std::size_t questions = m_pHost->FileQuestions.size();
    memory.EditMemWriteLen->setText("11");
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
    TFormMemory& memory = *m_pMemory;
    memory.EditMemReadAddr->setText("0");
    memory.EditMemReadLen->setText("10");
    memory.CheckBoxMemWriteFileLen->setChecked(true);
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
        EXPECT_FALSE(memory.IsBusy());
    }

    // A load that fails on the link leaves the old file as it was and never reports the link.
    const QString old = m_Scratch.Make("old.bin", "keep me");
    ASSERT_TRUE(m_pBoard->Command("fault checksum"));
    m_pHost->SaveFileAnswer = old;
    ClickAction(ID_MEM_READ_FILE);
    EXPECT_EQ(TScratchFolder::Read(old), "keep me");
    EXPECT_EQ(m_Scratch.Entries(), QStringList{"old.bin"});
    EXPECT_TRUE(m_pForm->Board().IsConnected());
}

// While a transfer lets events through: the dialog's Abort; a click on a tab or on another
// transfer waits; a tab switch that does happen takes the board away and the transfer fails,
// without a link failure.
TEST_F(MemoryPanelTest, EventsDuringATransfer)
{
    TFormMemory& memory = *m_pMemory;
    QTest::mouseClick(memory.LabelEntireMemory, Qt::LeftButton);
    memory.CheckBoxMemWriteFileLen->setChecked(true);
    m_pHost->SaveFileAnswer = m_Scratch.Path("out.bin");
    m_pHost->OpenFileAnswer = m_Scratch.Make("in.bin", Pattern(2));
    const auto clickTabAndWrite = [&](TFormProgress&)
    {
        Click(TabCentre(TAB_LED));
        ClickAction(ID_MEM_WRITE_FILE);
    };
    const auto abort = [](TFormProgress& dialog)
    {
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
        {ID_MEM_READ_FILE, clickTabAndWrite, "Load SRAM Content to a File Success. (", TAB_MEMORY},
        {ID_MEM_READ_FILE, abort, "Load SRAM Content to a File Aborted.", TAB_MEMORY},
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
        ExpectInfo(c.Info, QString(c.Info).contains("Success") ? INFO_GREEN : INFO_RED);
        EXPECT_EQ(m_pForm->CurrentTab(), c.Tab);
        EXPECT_EQ(memory.Board() == nullptr, c.Tab == TAB_LED);
        EXPECT_EQ(m_pHost->FileQuestions.size(), questions + 1) << "no second transfer";
        EXPECT_EQ(memory.findChild<TFormProgress*>(), nullptr);
        const TMessages errorBox{{THost::mkError, Info()}};
        EXPECT_EQ(m_pHost->Messages, Info().contains("Fail") ? errorBox : TMessages{});
        EXPECT_TRUE(m_pForm->Board().IsConnected()) << "no link failure";
        EXPECT_TRUE(TabsEnabled(true));
    }
}

TEST_F(MemoryPanelTest, LinkFaultInAWriteIsReportedOnceAfterTheBusyStateEnds)
{
    TFormMemory& memory = *m_pMemory;
    memory.CheckBoxMemWriteFileLen->setChecked(true);
    m_pHost->OpenFileAnswer = m_Scratch.Make("in.bin", Pattern(3));
    QStringList reports; // the info line at each report, or "busy"
    memory.OnLinkFailure = [&, original = memory.OnLinkFailure](TFormPanel* sender)
    {
        reports += memory.IsBusy() || !TabsEnabled(true) ? "busy" : Info();
        original(sender);
    };
    AtPercent(30, [&](TFormProgress&) { EXPECT_TRUE(m_pBoard->Command("fault checksum")); });
    ClickAction(ID_MEM_WRITE_FILE);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith("Write a File to SRAM Fail.[")) << reports[0].toStdString();
    EXPECT_EQ(m_pHost->Messages, (TMessages{{THost::mkError, reports[0]}}));
    EXPECT_TRUE(memory.LinkFailed());
    EXPECT_FALSE(m_pForm->Board().IsConnected());
}
