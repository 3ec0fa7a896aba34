#include "tests/app/MainWindowFixture.h"

#include "panels/UnitMemory.h"
#include "panels/UnitProgress.h"
#include "tests/support/ScratchFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace
{

constexpr int SRAM = 1;
constexpr int SRAM_BYTES = 0x80000;
constexpr int CONTROL_BLOCK = 0x10000; // bytes per "mem read/write" control line

QPoint ButtonCentre(int32_t id)
{
    static const QPoint centres[] = {{306 + 32, 89 + 8},
                                     {189 + 32, 89 + 8},
                                     {13 + 61, 89 + 8},
                                     {187 + 94, 162 + 8},
                                     {187 + 94, 236 + 8}};
    return centres[id];
}

TFormProgress* OpenProgressDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
    {
        if (auto* dialog = qobject_cast<TFormProgress*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

QByteArray Pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    uint32_t x = static_cast<uint32_t>(seed) * 2654435761u + 1;
    for (char& byte : bytes)
    {
        x = x * 1103515245u + 12345u;
        byte = static_cast<char>(x >> 16);
    }
    return bytes;
}

} // namespace

// The memory panel on the memory tab of a connected main window, against its own board.
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
        ASSERT_NE(m_pMemory, nullptr);
        ASSERT_TRUE(IsShown(m_pMemory));
    }

    TFormMemory& Memory() { return *m_pMemory; }

    void SelectType(int index)
    {
        Memory().ComboBoxMemType->setCurrentIndex(index);
        emit Memory().ComboBoxMemType->activated(index);
    }

    // Press and release on the panel, as the pointer does.
    void PanelClick(QPoint at)
    {
        QTest::mouseMove(m_pMemory, at);
        QTest::mousePress(m_pMemory, Qt::LeftButton, {}, at);
        QTest::mouseRelease(m_pMemory, Qt::LeftButton, {}, at);
    }
    void ClickAction(int32_t id) { PanelClick(ButtonCentre(id)); }

    void Type(QLineEdit* edit, const QString& text) { edit->setText(text); }

    QString Info() const { return m_pForm->LabelInfo->text(); }
    QColor InfoColour() const { return TextColour(m_pForm->LabelInfo); }

    std::vector<QString> MessageTexts() const
    {
        std::vector<QString> texts;
        for (const auto& message : m_pHost->Messages)
            texts.push_back(message.Text);
        return texts;
    }

    QByteArray BoardMemory(const char* type, int address, int count)
    {
        QByteArray bytes;
        for (int done = 0; done < count; done += CONTROL_BLOCK)
        {
            std::string hex;
            const int n = std::min(CONTROL_BLOCK, count - done);
            EXPECT_TRUE(m_pBoard->Command(
                "mem read " + std::string(type) + " " + std::to_string(address + done) + " " +
                    std::to_string(n),
                &hex));
            bytes += QByteArray::fromHex(QByteArray::fromStdString(hex));
        }
        return bytes;
    }

    void SetBoardMemory(const char* type, int address, const QByteArray& bytes)
    {
        for (int done = 0; done < bytes.size(); done += CONTROL_BLOCK)
        {
            const QByteArray block = bytes.mid(done, CONTROL_BLOCK);
            ASSERT_TRUE(m_pBoard->Command("mem write " + std::string(type) + " " +
                                          std::to_string(address + done) + " " +
                                          block.toHex().toStdString()));
        }
    }

    int BoardRequests()
    {
        const std::string status = BoardStatus();
        const auto at = status.find("requests=");
        return std::stoi(status.substr(at + 9));
    }

    // Runs action on every pass of the transfer's event loop until it returns true.
    void DuringTransfer(std::function<bool(TFormProgress&)> action)
    {
        auto* timer = new QTimer(m_pMemory);
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, timer,
                         [timer, action]
                         {
                             TFormProgress* dialog = OpenProgressDialog();
                             if (dialog && action(*dialog))
                                 timer->deleteLater();
                         });
        timer->start();
    }

    hx9test::TScratchFolder m_Scratch;
    TFormMemory* m_pMemory = nullptr;
};

TEST_F(MemoryPanelTest, ButtonsAndCheckBoxes)
{
    TFormMemory& memory = Memory();
    EXPECT_TRUE(memory.EditMemRdmRead->isReadOnly());
    const TButtonManager& buttons = memory.ActionButtons();
    EXPECT_EQ(buttons.FindButton(ID_MEM_ERASE)->Caption(), "Chip Erase (70 sec)");
    for (int32_t id : {0, 1, 3, 4})
        EXPECT_TRUE(buttons.IsEnabled(id)) << id;
    EXPECT_FALSE(buttons.IsEnabled(ID_MEM_ERASE));

    // "Entire Memory" by its caption: the fields show the whole LPDDR2, disabled.
    QTest::mouseClick(memory.LabelEntireMemory, Qt::LeftButton);
    EXPECT_TRUE(memory.CheckBoxMemReadEntireMem->isChecked());
    EXPECT_EQ(memory.EditMemReadAddr->text(), "0000000");
    EXPECT_EQ(memory.EditMemReadLen->text(), "10000000");
    EXPECT_FALSE(memory.EditMemReadAddr->isEnabled());
    QTest::mouseClick(memory.CheckBoxMemReadEntireMem, Qt::LeftButton);
    EXPECT_FALSE(memory.CheckBoxMemReadEntireMem->isChecked());
    EXPECT_TRUE(memory.EditMemReadLen->isEnabled());

    // "File Length": checking changes nothing, unchecking resets both fields to the SRAM's.
    SelectType(SRAM);
    Type(memory.EditMemWriteAddr, "12");
    QTest::mouseClick(memory.CheckBoxMemWriteFileLen, Qt::LeftButton);
    EXPECT_TRUE(memory.CheckBoxMemWriteFileLen->isChecked());
    EXPECT_EQ(memory.EditMemWriteAddr->text(), "12");
    QTest::mouseClick(memory.LabelFileLength, Qt::LeftButton);
    EXPECT_FALSE(memory.CheckBoxMemWriteFileLen->isChecked());
    EXPECT_EQ(memory.EditMemWriteAddr->text(), "00000");
    EXPECT_EQ(memory.EditMemWriteLen->text(), "40000");

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
    TFormMemory& memory = Memory();
    // LPDDR2 0 <- 1234: the bytes 34 12 at byte address 0.
    Type(memory.EditMemRdmWrite, "1234");
    ClickAction(ID_MEM_RANDOM_WRITE);
    EXPECT_EQ(BoardMemory("lpddr2", 0, 2), QByteArray::fromHex("3412"));
    EXPECT_EQ(Info(), "LPDDR2 Random Write Success");
    EXPECT_EQ(InfoColour(), QColor(INFO_GREEN));

    struct TReadCase
    {
        const char* Bytes;
        const char* Shown;
    };
    SelectType(SRAM);
    Type(memory.EditMemRdmAddr, "3FFFF");
    for (const TReadCase& read : {TReadCase{"cdab", "ABCD"}, TReadCase{"0500", "0005"}})
    {
        SetBoardMemory("sram", 0x7FFFE, QByteArray::fromHex(read.Bytes));
        ClickAction(ID_MEM_RANDOM_READ);
        EXPECT_EQ(memory.EditMemRdmRead->text(), read.Shown);
        EXPECT_EQ(Info(), "SRAM Random Read Success");
    }

    // A failed read keeps the word shown; the link stays, no box.
    ASSERT_TRUE(m_pBoard->Command("fault checksum"));
    SetBoardMemory("sram", 0x7FFFE, QByteArray::fromHex("1111"));
    ClickAction(ID_MEM_RANDOM_READ);
    EXPECT_EQ(memory.EditMemRdmRead->text(), "0005");
    EXPECT_EQ(Info(), "SRAM Random Read Fail");
    EXPECT_EQ(InfoColour(), QColor(INFO_RED));
    EXPECT_TRUE(m_pHost->Messages.empty());
    EXPECT_TRUE(m_pForm->Board().IsConnected());

    // Rejected fields: exactly one box each, nothing sent.
    struct TRejectCase
    {
        const char* Address;
        const char* Data;
        const char* Message;
    };
    const TRejectCase rejects[] = {
        {"40000", "0",
         "The input value(40000) for the field 'Address' is expected to less or equal to 3FFFFh."},
        {"0", "G", "Value 'G' is invalid for 'wDATA'"},
        {"", "0", "Value '' is invalid for 'Address'"},
    };
    for (const TRejectCase& reject : rejects)
    {
        m_pHost->Messages.clear();
        Type(memory.EditMemRdmAddr, reject.Address);
        Type(memory.EditMemRdmWrite, reject.Data);
        const int requests = BoardRequests();
        ClickAction(ID_MEM_RANDOM_WRITE);
        EXPECT_EQ(MessageTexts(), std::vector<QString>{reject.Message});
        EXPECT_EQ(BoardRequests(), requests);
        EXPECT_EQ(Info(), "SRAM Random Write Fail");
        EXPECT_EQ(InfoColour(), QColor(INFO_RED));
    }
    EXPECT_TRUE(memory.ActionButtons().IsEnabled(ID_MEM_RANDOM_WRITE)) << "busy state left";
}

TEST_F(MemoryPanelTest, WholeSramToBinaryAndHexAndBack)
{
    TFormMemory& memory = Memory();
    // "Entire Memory" checked on the LPDDR2 reads the type selected when the load runs.
    QTest::mouseClick(memory.LabelEntireMemory, Qt::LeftButton);
    SelectType(SRAM);
    ASSERT_EQ(memory.EditMemReadLen->text(), "10000000");
    const QByteArray content = Pattern(SRAM_BYTES, 1);
    SetBoardMemory("sram", 0, content);

    // One keep-alive, then 21 chunks of one exchange each (20 x 26214 and 8).
    m_pHost->SaveFileAnswer = m_Scratch.Path("sram.bin");
    int requests = BoardRequests();
    ClickAction(ID_MEM_READ_FILE);
    EXPECT_EQ(BoardRequests() - requests, 22);
    EXPECT_EQ(hx9test::TScratchFolder::Read(m_pHost->SaveFileAnswer), content);
    EXPECT_TRUE(Info().startsWith("Load SRAM Content to a File Success. (")) << Info().toStdString();
    EXPECT_EQ(InfoColour(), QColor(INFO_GREEN));
    EXPECT_EQ(m_pHost->FileQuestions.back(),
              (TRecordingHost::TFileQuestion{true, "All files (*);;Hex files (*.hex *.HEX)", "bin"}));

    m_pHost->SaveFileAnswer = m_Scratch.Path("sram.Hex");
    ClickAction(ID_MEM_READ_FILE);
    const QByteArray hex = hx9test::TScratchFolder::Read(m_pHost->SaveFileAnswer);
    EXPECT_EQ(hex, content.toHex().toUpper());
    EXPECT_EQ(hex.size(), 1048576);

    // Back in, each after the memory was cleared: byte for byte the same.
    QTest::mouseClick(memory.LabelFileLength, Qt::LeftButton);
    ASSERT_TRUE(memory.CheckBoxMemWriteFileLen->isChecked());
    for (const char* name : {"sram.bin", "sram.Hex"})
    {
        SetBoardMemory("sram", 0, QByteArray(SRAM_BYTES, '\0'));
        m_pHost->OpenFileAnswer = m_Scratch.Path(name);
        requests = BoardRequests();
        ClickAction(ID_MEM_WRITE_FILE);
        EXPECT_EQ(BoardMemory("sram", 0, SRAM_BYTES), content) << name;
        EXPECT_EQ(memory.EditMemWriteLen->text(), "40000");
        EXPECT_EQ(BoardRequests() - requests, 1 + 21 * 2) << "a keep-alive before every chunk";
        EXPECT_TRUE(Info().startsWith("Write a File to SRAM Success.[")) << Info().toStdString();
    }
    EXPECT_TRUE(m_pHost->Messages.empty());
    EXPECT_FALSE(memory.IsBusy());
    EXPECT_TRUE(TabsEnabled(true));
}

TEST_F(MemoryPanelTest, FileWritesAndTheirFailures)
{
    TFormMemory& memory = Memory();
    SelectType(SRAM);
    struct TCase
    {
        const char* Name;
        QByteArray Content;
        const char* Length; // nullptr: "File Length"
        QByteArray Written; // at word address 0
        const char* LengthShown;
        const char* Warning; // "%1" is the path
        bool Ok;
        bool ErrorBox;
    };
    const TCase cases[] = {
        {"abc.HEX", "ABC", nullptr, QByteArray::fromHex("abc0"), "1", nullptr, true, false},
        {"five.bin", "12345", nullptr, "12345", "3", nullptr, true, false},
        {"two.hex", "0102030405", "2", QByteArray::fromHex("01020304"), "2", nullptr, true, false},
        {"empty.bin", "", nullptr, "", "0", nullptr, true, false},
        {"break.hex", "AB\nCD", nullptr, "", nullptr, "invalid hex file.", false, true},
        {"short.bin", "1234", "3", "", "3", "File(%1) size is less than the specified length.",
         false, false},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.Name);
        SetBoardMemory("sram", 0, QByteArray(8, '\0'));
        m_pHost->Messages.clear();
        memory.CheckBoxMemWriteFileLen->setChecked(c.Length == nullptr);
        Type(memory.EditMemWriteAddr, "0");
        if (c.Length)
            Type(memory.EditMemWriteLen, c.Length);
        const QString path = m_Scratch.Make(c.Name, c.Content);
        m_pHost->OpenFileAnswer = path;
        ClickAction(ID_MEM_WRITE_FILE);

        EXPECT_EQ(BoardMemory("sram", 0, 8), c.Written + QByteArray(8 - c.Written.size(), '\0'));
        if (c.LengthShown)
        {
            EXPECT_EQ(memory.EditMemWriteLen->text(), c.LengthShown);
        }
        EXPECT_EQ(Info().contains("Success"), c.Ok) << Info().toStdString();
        std::vector<QString> messages;
        if (c.Warning)
            messages.push_back(QString(c.Warning).replace("%1", path));
        if (c.ErrorBox)
            messages.push_back(Info());
        EXPECT_EQ(MessageTexts(), messages);
    }

    // Cancel: nothing sent, red, no box.
    m_pHost->Messages.clear();
    m_pHost->OpenFileAnswer.clear();
    int requests = BoardRequests();
    ClickAction(ID_MEM_WRITE_FILE);
    EXPECT_EQ(Info(), "Write a File to SRAM Aborted.");
    EXPECT_EQ(InfoColour(), QColor(INFO_RED));
    EXPECT_EQ(BoardRequests(), requests);

    // A rejected field ends before the dialog.
    memory.CheckBoxMemWriteFileLen->setChecked(false);
    Type(memory.EditMemWriteAddr, "3FFF0");
    Type(memory.EditMemWriteLen, "11");
    const std::size_t questions = m_pHost->FileQuestions.size();
    ClickAction(ID_MEM_WRITE_FILE);
    EXPECT_EQ(Info(), "Invalud Input Data.");
    EXPECT_EQ(MessageTexts(),
              std::vector<QString>{"The input value(11) for the field 'Length' is expected to "
                                   "less or equal to 10h."});
    EXPECT_EQ(m_pHost->FileQuestions.size(), questions);

    // A source that is no regular file is refused before anything is sent.
    m_pHost->Messages.clear();
    memory.CheckBoxMemWriteFileLen->setChecked(true);
    m_pHost->OpenFileAnswer = m_Scratch.Path();
    ClickAction(ID_MEM_WRITE_FILE);
    EXPECT_EQ(BoardRequests(), requests);
    ASSERT_EQ(m_pHost->Messages.size(), 2u);
    EXPECT_TRUE(m_pHost->Messages[0].Text.contains("it is a folder"));
    EXPECT_TRUE(Info().startsWith("Write a File to SRAM Fail.["));
}

TEST_F(MemoryPanelTest, SavesThatCannotBeWrittenLoseNothing)
{
    TFormMemory& memory = Memory();
    SelectType(SRAM);
    Type(memory.EditMemReadAddr, "0");
    Type(memory.EditMemReadLen, "10");
    const QString old = m_Scratch.Make("old.bin", "keep me");
    struct TCase
    {
        QString Path;
        const char* Warning;
    };
    const TCase cases[] = {
        {m_Scratch.Path(), "it is a folder"},
        {"/dev/full", "Write file(/dev/full) error."},
        {m_Scratch.Path("missing/x.bin"), "cannot create"},
    };
    for (const TCase& c : cases)
    {
        m_pHost->Messages.clear();
        m_pHost->SaveFileAnswer = c.Path;
        ClickAction(ID_MEM_READ_FILE);
        ASSERT_EQ(m_pHost->Messages.size(), 2u) << c.Path.toStdString();
        EXPECT_TRUE(m_pHost->Messages[0].Text.contains(c.Warning)) << c.Path.toStdString();
        EXPECT_TRUE(Info().startsWith("Load SRAM Content to a File Fail. ("));
        EXPECT_EQ(m_pHost->Messages[1], (TRecordingHost::TMessage{THost::mkError, Info()}));
    }

    // A failed read leaves the old file as it was.
    ASSERT_TRUE(m_pBoard->Command("fault checksum"));
    m_pHost->SaveFileAnswer = old;
    ClickAction(ID_MEM_READ_FILE);
    EXPECT_EQ(hx9test::TScratchFolder::Read(old), "keep me");
    EXPECT_EQ(m_Scratch.Entries(), QStringList{"old.bin"});
    EXPECT_TRUE(m_pForm->Board().IsConnected()) << "a load never reports the link";
}

TEST_F(MemoryPanelTest, AbortInTheMiddle)
{
    TFormMemory& memory = Memory();
    SelectType(SRAM);
    QTest::mouseClick(memory.LabelEntireMemory, Qt::LeftButton);
    const QString old = m_Scratch.Make("old.bin", "keep me");
    m_pHost->SaveFileAnswer = old;
    int shownPercent = -1;
    DuringTransfer(
        [&](TFormProgress& dialog)
        {
            if (dialog.ProgressBar->value() < 30)
                return false;
            shownPercent = dialog.ProgressBar->value();
            // Twice is the same as once.
            QTest::mouseClick(dialog.ButtonAbort, Qt::LeftButton);
            QTest::mouseClick(dialog.ButtonAbort, Qt::LeftButton);
            return true;
        });
    ClickAction(ID_MEM_READ_FILE);
    EXPECT_GE(shownPercent, 30);
    EXPECT_EQ(Info(), "Load SRAM Content to a File Aborted.");
    EXPECT_EQ(InfoColour(), QColor(INFO_RED));
    EXPECT_EQ(hx9test::TScratchFolder::Read(old), "keep me");
    EXPECT_EQ(OpenProgressDialog(), nullptr);
    EXPECT_TRUE(m_pHost->Messages.empty());

    // A write stops after the chunk in progress; what was written stays.
    SetBoardMemory("sram", 0, QByteArray(SRAM_BYTES, '\0'));
    const QByteArray content = Pattern(SRAM_BYTES, 2);
    m_pHost->OpenFileAnswer = m_Scratch.Make("in.bin", content);
    memory.CheckBoxMemWriteFileLen->setChecked(true);
    DuringTransfer(
        [&](TFormProgress& dialog)
        {
            if (dialog.ProgressBar->value() < 50)
                return false;
            QTest::mouseClick(dialog.ButtonAbort, Qt::LeftButton);
            return true;
        });
    ClickAction(ID_MEM_WRITE_FILE);
    EXPECT_EQ(Info(), "Write a File to SRAM Aborted.");
    const QByteArray after = BoardMemory("sram", 0, SRAM_BYTES);
    EXPECT_EQ(after.left(SRAM_BYTES / 2), content.left(SRAM_BYTES / 2));
    EXPECT_NE(after, content);
    EXPECT_TRUE(m_pForm->Board().IsConnected());
}

TEST_F(MemoryPanelTest, LinkFaultInAWriteIsReportedOnceAfterTheBusyStateEnds)
{
    TFormMemory& memory = Memory();
    SelectType(SRAM);
    memory.CheckBoxMemWriteFileLen->setChecked(true);
    m_pHost->OpenFileAnswer = m_Scratch.Make("in.bin", Pattern(SRAM_BYTES, 3));
    const auto original = memory.OnLinkFailure;
    std::vector<bool> busyAtReport;
    QString infoAtReport;
    memory.OnLinkFailure = [&](TFormPanel* sender)
    {
        busyAtReport.push_back(memory.IsBusy() || !TabsEnabled(true));
        infoAtReport = Info();
        original(sender);
    };
    DuringTransfer(
        [&](TFormProgress& dialog)
        {
            if (dialog.ProgressBar->value() < 30)
                return false;
            EXPECT_TRUE(m_pBoard->Command("fault checksum"));
            return true;
        });
    ClickAction(ID_MEM_WRITE_FILE);
    EXPECT_EQ(busyAtReport, std::vector<bool>{false});
    EXPECT_TRUE(memory.LinkFailed());
    EXPECT_TRUE(infoAtReport.startsWith("Write a File to SRAM Fail.[")) << infoAtReport.toStdString();
    ASSERT_EQ(m_pHost->Messages.size(), 1u);
    EXPECT_TRUE(m_pHost->Messages[0].Text.startsWith("Write a File to SRAM Fail.["));
    EXPECT_FALSE(m_pForm->Board().IsConnected());
    EXPECT_EQ(m_pForm->LabelConnectStatus->text(), "Disconnected");
}

TEST_F(MemoryPanelTest, TabsWaitForATransferAndADetachEndsItWithoutALinkFailure)
{
    TFormMemory& memory = Memory();
    SelectType(SRAM);
    QTest::mouseClick(memory.LabelEntireMemory, Qt::LeftButton);
    m_pHost->SaveFileAnswer = m_Scratch.Path("out.bin");

    // A click on a tab, or on another transfer, meanwhile changes nothing.
    DuringTransfer(
        [&](TFormProgress&)
        {
            Click(TabCentre(TAB_LED));
            ClickAction(ID_MEM_WRITE_FILE);
            return true;
        });
    ClickAction(ID_MEM_READ_FILE);
    EXPECT_EQ(m_pForm->CurrentTab(), TAB_MEMORY);
    EXPECT_EQ(m_pHost->FileQuestions.size(), 1u) << "no second transfer started";
    EXPECT_TRUE(Info().startsWith("Load SRAM Content to a File Success."));

    // A switch that does happen takes the board away: both directions end as failed.
    for (int32_t action : {ID_MEM_READ_FILE, ID_MEM_WRITE_FILE})
    {
        m_pHost->OpenFileAnswer = m_Scratch.Path("out.bin");
        memory.CheckBoxMemWriteFileLen->setChecked(true);
        DuringTransfer(
            [&](TFormProgress& dialog)
            {
                if (dialog.ProgressBar->value() < 30)
                    return false;
                m_pForm->SelectTab(TAB_LED);
                return true;
            });
        ClickAction(action);
        EXPECT_EQ(m_pForm->CurrentTab(), TAB_LED) << action;
        EXPECT_TRUE(Info().contains("Fail")) << Info().toStdString();
        EXPECT_EQ(memory.Board(), nullptr);
        EXPECT_TRUE(TabsEnabled(true));
        m_pForm->SelectTab(TAB_MEMORY);
    }
    EXPECT_TRUE(m_pForm->Board().IsConnected()) << "no link failure was reported";
}
