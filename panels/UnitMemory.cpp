#include "panels/UnitMemory.h"

#include "board/Board.h"
#include "ops/MemoryOps.h"
#include "panels/TransferProgressDialog.h"
#include "skin/AppCursor.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"
#include "transfer/BoardMemoryLink.h"
#include "transfer/MemoryText.h"
#include "transfer/MemoryType.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace
{

constexpr int MEMORY_INDEX_LPDDR2 = 0;
constexpr int MEMORY_INDEX_SRAM = 1;

const QRect COMBO_MEM_TYPE_RECT(100, 11, 250, 20);
const char* const COMBO_MEM_TYPE_STYLE =
    "QComboBox { font-family: Arial; font-size: 12px; color: white; background: rgb(64,64,64); }"
    "QComboBox QAbstractItemView { color: white; background: rgb(64,64,64); }";
const char* const EDIT_STYLE =
    "QLineEdit { color: black; background: white; border: 1px solid rgb(96,104,116);"
    " padding: 0px 2px; }"
    "QLineEdit:disabled { color: rgb(96,96,96); background: rgb(200,200,200); }"
    "QLineEdit:read-only { background: rgb(232,232,232); }";

const char* const FONT_FAMILY = "Arial";
constexpr int TITLE_POINTS = 10;
constexpr int CAPTION_POINTS = 8;

// Section titles sit in the title bands of the background.
const QRect LABEL_TYPE_RECT(18, 6, 80, 30);
const QRect LABEL_RANDOM_ACCESS_RECT(18, 42, 200, 20);
const QRect LABEL_SEQ_WRITE_RECT(18, 116, 200, 20);
const QRect LABEL_SEQ_READ_RECT(18, 190, 200, 20);

// Fields stand above the buttons they feed; each row is a caption and its field.
constexpr int FIELD_HEIGHT = 18;
constexpr int RANDOM_ROW_Y = 66;
constexpr int WRITE_ADDR_Y = 140;
constexpr int WRITE_LEN_Y = 162;
constexpr int READ_ADDR_Y = 214;
constexpr int READ_LEN_Y = 236;
constexpr int CAPTION_X = 14;
constexpr int CAPTION_WIDTH = 46;
constexpr int FIELD_X = 62;
constexpr int SEQ_FIELD_WIDTH = 110;
const QRect LABEL_RDM_ADDR_RECT(CAPTION_X, RANDOM_ROW_Y, CAPTION_WIDTH, FIELD_HEIGHT);
const QRect EDIT_RDM_ADDR_RECT(FIELD_X, RANDOM_ROW_Y, 73, FIELD_HEIGHT);
const QRect LABEL_RDM_WRITE_RECT(150, RANDOM_ROW_Y, 38, FIELD_HEIGHT);
const QRect EDIT_RDM_WRITE_RECT(189, RANDOM_ROW_Y, 64, FIELD_HEIGHT);
const QRect LABEL_RDM_READ_RECT(267, RANDOM_ROW_Y, 38, FIELD_HEIGHT);
const QRect EDIT_RDM_READ_RECT(306, RANDOM_ROW_Y, 64, FIELD_HEIGHT);
constexpr int CHECK_X = 187;
constexpr int CHECK_SIZE = 16;
constexpr int CHECK_CAPTION_X = 205;
constexpr int CHECK_CAPTION_WIDTH = 100;

constexpr int RDM_ADDR_MAX_LENGTH = 8;
constexpr int RDM_DATA_MAX_LENGTH = 4;
const char* const INITIAL_ADDRESS = "00000000";
const char* const INITIAL_DATA = "0000";
const char* const INITIAL_LENGTH = "0";

const QSize NORMAL_BTN_SIZE(64, 17);
const QSize MIDDLE_BTN_SIZE(122, 17);
const QSize LONG_BTN_SIZE(189, 17);

struct TActionButton
{
    int32_t Id;
    const char* Caption;
    const char* Strip;
    QPoint At;
    QSize Size;
};

// The erase button is added as "Erase"; EnableActions gives it its real caption at once.
const TActionButton ACTION_BUTTONS[] = {
    {ID_MEM_RANDOM_READ, "Read", "NORMAL_BTN", {306, 89}, NORMAL_BTN_SIZE},
    {ID_MEM_RANDOM_WRITE, "Write", "NORMAL_BTN", {189, 89}, NORMAL_BTN_SIZE},
    {ID_MEM_ERASE, "Erase", "MIDDLE_BTN", {13, 89}, MIDDLE_BTN_SIZE},
    {ID_MEM_WRITE_FILE, "Write a File to Memory", "LONG_BTN", {187, 162}, LONG_BTN_SIZE},
    {ID_MEM_READ_FILE, "Load Memory Content to a File", "LONG_BTN", {187, 236}, LONG_BTN_SIZE},
};

const QString FILE_FILTER = QStringLiteral("All files (*);;Hex files (*.hex *.HEX)");
const QString DEFAULT_SUFFIX = QStringLiteral("bin");

QLabel* MakeCaption(QWidget* parent, const QRect& rect, const char* text, int points, QRgb colour)
{
    QLabel* label = MakeLabel(parent, rect, PointFont(QString::fromLatin1(FONT_FAMILY), points),
                              Qt::AlignLeft | Qt::AlignVCenter);
    label->setText(QString::fromLatin1(text));
    SetLabelColour(label, QColor(colour));
    return label;
}

QLineEdit* MakeField(QWidget* parent, const QRect& rect, const char* text, int maxLength)
{
    auto* edit = new QLineEdit(QString::fromLatin1(text), parent);
    edit->setGeometry(rect);
    edit->setFont(PointFont(QString::fromLatin1(FONT_FAMILY), CAPTION_POINTS));
    edit->setStyleSheet(QString::fromLatin1(EDIT_STYLE));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QCheckBox* MakeCheckBox(QWidget* parent, int y)
{
    auto* box = new QCheckBox(parent);
    box->setGeometry(CHECK_X, y + (FIELD_HEIGHT - CHECK_SIZE) / 2, CHECK_SIZE, CHECK_SIZE);
    return box;
}

} // namespace

TFormMemory::TFormMemory(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(MEMORY_BACKGROUND)),
      ComboBoxMemType(new QComboBox(this)), m_Buttons(AddButtonGroup(bmPush)), m_Sequence(*this)
{
    ComboBoxMemType->setGeometry(COMBO_MEM_TYPE_RECT);
    ComboBoxMemType->setEditable(false);
    ComboBoxMemType->setStyleSheet(QString::fromLatin1(COMBO_MEM_TYPE_STYLE));
    for (int i = 0; i < MEMORY_TYPE_COUNT; ++i)
    {
        const TMemoryType& type = MemoryTypeAt(i);
        ComboBoxMemType->addItem(MemoryTypeCaption(type.Name, type.SizeBytes));
    }
    ComboBoxMemType->setCurrentIndex(0);
    connect(ComboBoxMemType, &QComboBox::activated, this, &TFormMemory::ComboBoxMemTypeSelect);

    CreateLabels();
    CreateFields();
    CreateButtons();
    NameFields();
    EnableActions(false);
}

TFormMemory::~TFormMemory()
{
    if (m_pLink)
        m_pLink->Detach();
}

void TFormMemory::CreateLabels()
{
    LabelType = MakeCaption(this, LABEL_TYPE_RECT, "Memory Type", TITLE_POINTS, TITLE_CYAN);
    LabelRandomAccess =
        MakeCaption(this, LABEL_RANDOM_ACCESS_RECT, "Random Access", TITLE_POINTS, TITLE_CYAN);
    LabelSeqWrite =
        MakeCaption(this, LABEL_SEQ_WRITE_RECT, "Sequential Write", TITLE_POINTS, TITLE_CYAN);
    LabelSeqRead =
        MakeCaption(this, LABEL_SEQ_READ_RECT, "Sequential Read", TITLE_POINTS, TITLE_CYAN);

    const QRgb white = qRgb(255, 255, 255);
    LabelMemRdmAddr = MakeCaption(this, LABEL_RDM_ADDR_RECT, "Address: ", CAPTION_POINTS, white);
    LabelMemRdmWrite = MakeCaption(this, LABEL_RDM_WRITE_RECT, "wDATA:", CAPTION_POINTS, white);
    LabelMemRdmRead = MakeCaption(this, LABEL_RDM_READ_RECT, "rDATA: ", CAPTION_POINTS, white);
    const auto caption = [&](int y, const char* text)
    {
        return MakeCaption(this, QRect(CAPTION_X, y, CAPTION_WIDTH, FIELD_HEIGHT), text,
                           CAPTION_POINTS, white);
    };
    LabelMemWriteAddr = caption(WRITE_ADDR_Y, "Address: ");
    LabelMemWriteLen = caption(WRITE_LEN_Y, "Length:");
    LabelMemReadAddr = caption(READ_ADDR_Y, "Address: ");
    LabelMemReadLen = caption(READ_LEN_Y, "Length:");

    // The check box captions are clickable: they flip their box.
    const auto checkCaption = [&](int y, const char* text)
    {
        QLabel* label =
            MakeCaption(this, QRect(CHECK_CAPTION_X, y, CHECK_CAPTION_WIDTH, FIELD_HEIGHT), text,
                        CAPTION_POINTS, white);
        label->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        label->installEventFilter(this);
        return label;
    };
    LabelFileLength = checkCaption(WRITE_ADDR_Y, "File Length");
    LabelEntireMemory = checkCaption(READ_ADDR_Y, "Entire Memory");
}

void TFormMemory::CreateFields()
{
    EditMemRdmAddr = MakeField(this, EDIT_RDM_ADDR_RECT, INITIAL_ADDRESS, RDM_ADDR_MAX_LENGTH);
    EditMemRdmWrite = MakeField(this, EDIT_RDM_WRITE_RECT, INITIAL_DATA, RDM_DATA_MAX_LENGTH);
    EditMemRdmRead = MakeField(this, EDIT_RDM_READ_RECT, INITIAL_DATA, RDM_DATA_MAX_LENGTH);
    EditMemRdmRead->setReadOnly(true);
    const auto seqField = [&](int y, const char* text)
    { return MakeField(this, QRect(FIELD_X, y, SEQ_FIELD_WIDTH, FIELD_HEIGHT), text, 0); };
    EditMemWriteAddr = seqField(WRITE_ADDR_Y, INITIAL_ADDRESS);
    EditMemWriteLen = seqField(WRITE_LEN_Y, INITIAL_LENGTH);
    EditMemReadAddr = seqField(READ_ADDR_Y, INITIAL_ADDRESS);
    EditMemReadLen = seqField(READ_LEN_Y, INITIAL_LENGTH);

    CheckBoxMemWriteFileLen = MakeCheckBox(this, WRITE_ADDR_Y);
    CheckBoxMemReadEntireMem = MakeCheckBox(this, READ_ADDR_Y);
    connect(CheckBoxMemWriteFileLen, &QCheckBox::clicked, this,
            &TFormMemory::CheckBoxMemWriteFileLenClick);
    connect(CheckBoxMemReadEntireMem, &QCheckBox::clicked, this,
            &TFormMemory::CheckBoxMemReadEntireMemClick);
}

// For screen readers: each field by its caption, and its section where captions repeat.
void TFormMemory::NameFields()
{
    const std::pair<QWidget*, QLabel*> captions[] = {
        {ComboBoxMemType, LabelType},
        {EditMemRdmAddr, LabelMemRdmAddr},
        {EditMemRdmWrite, LabelMemRdmWrite},
        {EditMemRdmRead, LabelMemRdmRead},
        {EditMemWriteAddr, LabelMemWriteAddr},
        {EditMemWriteLen, LabelMemWriteLen},
        {CheckBoxMemWriteFileLen, LabelFileLength},
        {EditMemReadAddr, LabelMemReadAddr},
        {EditMemReadLen, LabelMemReadLen},
        {CheckBoxMemReadEntireMem, LabelEntireMemory},
    };
    for (const auto& [control, caption] : captions)
        NameAfterCaption(control, caption);
    const std::pair<QWidget*, QLabel*> sections[] = {
        {EditMemRdmAddr, LabelRandomAccess},      {EditMemRdmWrite, LabelRandomAccess},
        {EditMemRdmRead, LabelRandomAccess},      {EditMemWriteAddr, LabelSeqWrite},
        {EditMemWriteLen, LabelSeqWrite},         {CheckBoxMemWriteFileLen, LabelSeqWrite},
        {EditMemReadAddr, LabelSeqRead},          {EditMemReadLen, LabelSeqRead},
        {CheckBoxMemReadEntireMem, LabelSeqRead},
    };
    for (const auto& [control, section] : sections)
        control->setAccessibleDescription(section->text());
}

void TFormMemory::CreateButtons()
{
    QPushButton** hidden[] = {&ButtonMemoryRandomRead, &ButtonMemoryRandomWrite, &ButtonMemRdmErase,
                              &ButtonMemWrite2FMem, &ButtonMemRead2File};
    for (const TActionButton& button : ACTION_BUTTONS)
    {
        QPushButton* form =
            AddHiddenButton(QRect(button.At, button.Size), QString::fromLatin1(button.Caption));
        *hidden[button.Id] = form;
        AddSkinnedButton(m_Buttons, button.Id, form, QString::fromLatin1(button.Strip));
    }
}

void TFormMemory::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    SetInfo(QString(), TInfoColour::Green);
    m_pLink = board ? std::make_shared<TBoardMemoryLink>(*board) : nullptr;
    EnableActions(BoardUsable());
}

void TFormMemory::DetachBoard()
{
    // A transfer holding the link fails from its next command on.
    if (m_pLink)
        m_pLink->Detach();
    m_pLink.reset();
    if (m_bBusy)
        m_bDetachedWhileBusy = true;
    EnableActions(false);
    TFormPanel::DetachBoard();
}

int TFormMemory::SelectedMemoryIndex() const
{
    return ComboBoxMemType->currentIndex();
}

TBoardAreas TFormMemory::BoardAreas() const
{
    switch (SelectedMemoryIndex())
    {
    case MEMORY_INDEX_LPDDR2:
        return {TBoardArea::LPDDR2};
    case MEMORY_INDEX_SRAM:
        return {TBoardArea::SRAM};
    default:
        return {};
    }
}

void TFormMemory::EnableActions(bool enabled)
{
    QPushButton* const hidden[] = {ButtonMemoryRandomRead, ButtonMemoryRandomWrite,
                                   ButtonMemRdmErase, ButtonMemWrite2FMem, ButtonMemRead2File};
    for (const TActionButton& button : ACTION_BUTTONS)
    {
        hidden[button.Id]->setEnabled(enabled);
        m_Buttons.SetEnabled(button.Id, enabled);
    }
    // Neither memory is a flash memory: there is nothing to erase.
    const QString erase = QString::fromLatin1(ERASE_CAPTION);
    ButtonMemRdmErase->setEnabled(false);
    ButtonMemRdmErase->setText(erase);
    m_Buttons.SetEnabled(ID_MEM_ERASE, false);
    m_Buttons.SetCaption(ID_MEM_ERASE, erase);
}

void TFormMemory::ButtonClick(TButtonManager&, int32_t id)
{
    switch (id)
    {
    case ID_MEM_RANDOM_READ:
        ButtonMemoryRandomReadClick();
        break;
    case ID_MEM_RANDOM_WRITE:
        ButtonMemoryRandomWriteClick();
        break;
    case ID_MEM_WRITE_FILE:
        ButtonMemWrite2FMemClick();
        break;
    case ID_MEM_READ_FILE:
        ButtonMemRead2FileClick();
        break;
    default:
        break;
    }
}

bool TFormMemory::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
    {
        if (watched == LabelFileLength)
        {
            LabelFileLengthClick();
            return true;
        }
        if (watched == LabelEntireMemory)
        {
            LabelEntireMemoryClick();
            return true;
        }
    }
    return TFormPanel::eventFilter(watched, event);
}

void TFormMemory::ComboBoxMemTypeSelect(int index)
{
    EnableActions(!m_bBusy && BoardUsable());
    UpdateTestArea();
    // Choosing the type already chosen keeps whatever the line says.
    if (index != m_LastSelectedIndex)
    {
        ShowInfo(QString(), TInfoColour::Green);
        m_LastSelectedIndex = index;
    }
}

void TFormMemory::ButtonMemoryRandomReadClick()
{
    const TMemoryOutcome outcome = m_Sequence.RandomRead(SelectedType(), EditMemRdmAddr->text());
    // A failed read keeps the word shown before.
    if (outcome.Result == TOpResult::Done)
        EditMemRdmRead->setText(WordText(outcome.Word));
}

void TFormMemory::ButtonMemoryRandomWriteClick()
{
    m_Sequence.RandomWrite(SelectedType(), EditMemRdmAddr->text(), EditMemRdmWrite->text());
}

void TFormMemory::ButtonMemWrite2FMemClick()
{
    m_bLinkFailed = false;
    m_bDetachedWhileBusy = false;
    const bool fileLength = CheckBoxMemWriteFileLen->isChecked();
    std::optional<QString> length;
    if (!fileLength)
        length = EditMemWriteLen->text();
    const TMemoryOutcome outcome =
        m_Sequence.WriteFile(SelectedType(), EditMemWriteAddr->text(), length);
    if (outcome.Result == TOpResult::Done && fileLength)
        EditMemWriteLen->setText(QString::asprintf("%X", outcome.WordsMoved));
    // Any failure after the first keep-alive counts as a lost link, a refused chunk too; a
    // board taken away during the transfer does not.
    m_bLinkFailed = outcome.FailedMidway && !m_bDetachedWhileBusy;
    if (m_bLinkFailed)
    {
        ReportLinkFailure();
        EnableActions(BoardUsable());
    }
}

void TFormMemory::ButtonMemRead2FileClick()
{
    std::optional<QString> address;
    std::optional<QString> length;
    // "Entire Memory" reads the type selected now, whatever the fields show.
    if (!CheckBoxMemReadEntireMem->isChecked())
    {
        address = EditMemReadAddr->text();
        length = EditMemReadLen->text();
    }
    m_Sequence.LoadFile(SelectedType(), address, length);
}

void TFormMemory::CheckBoxMemWriteFileLenClick()
{
    // Checking it changes nothing on screen: the write then ignores the length field.
    if (CheckBoxMemWriteFileLen->isChecked())
        return;
    EditMemWriteAddr->setText(ZeroAddressText(SelectedType()));
    EditMemWriteLen->setText(FullLengthText(SelectedType()));
}

void TFormMemory::CheckBoxMemReadEntireMemClick()
{
    const bool entire = CheckBoxMemReadEntireMem->isChecked();
    EditMemReadAddr->setEnabled(!entire);
    EditMemReadLen->setEnabled(!entire);
    if (!entire)
        return;
    EditMemReadAddr->setText(ZeroAddressText(SelectedType()));
    EditMemReadLen->setText(FullLengthText(SelectedType()));
}

void TFormMemory::LabelFileLengthClick()
{
    CheckBoxMemWriteFileLen->setChecked(!CheckBoxMemWriteFileLen->isChecked());
    CheckBoxMemWriteFileLenClick();
}

void TFormMemory::LabelEntireMemoryClick()
{
    CheckBoxMemReadEntireMem->setChecked(!CheckBoxMemReadEntireMem->isChecked());
    CheckBoxMemReadEntireMemClick();
}

const TMemoryType& TFormMemory::SelectedType() const
{
    const int index = SelectedMemoryIndex();
    return MemoryTypeAt(index < 0 ? MEMORY_INDEX_LPDDR2 : index);
}

bool TFormMemory::BoardUsable() const
{
    return Board() && Board()->IsConnected() && !LinkLost();
}

void TFormMemory::SetInfo(const QString& text, TInfoColour colour)
{
    ShowInfo(text, colour);
}

void TFormMemory::ShowMessage(THost::TMessageKind kind, const QString& text)
{
    Host().ShowMessage(kind, text);
}

void TFormMemory::SetBusy(bool busy)
{
    m_bBusy = busy;
    EnableActions(!busy && BoardUsable());
    SetAppCursor(busy ? Qt::WaitCursor : Qt::ArrowCursor);
    // While busy the main window keeps its tabs, connect and close buttons still.
    TFormPanel::SetBusy(busy);
}

QString TFormMemory::AskOpenFile()
{
    return Host().AskOpenFileName(FILE_FILTER, DEFAULT_SUFFIX);
}

QString TFormMemory::AskSaveFile()
{
    return Host().AskSaveFileName(FILE_FILTER, DEFAULT_SUFFIX);
}

// A failed word access never counts as a lost link: the board stays in use.
TOpResult TFormMemory::ReadWord(uint8_t memoryType, uint32_t wordAddress, uint16_t& value)
{
    if (!BoardUsable())
        return TOpResult::LinkFailed;
    return ReadMemoryWord(*Board(), memoryType, wordAddress, value);
}

TOpResult TFormMemory::WriteWord(uint8_t memoryType, uint32_t wordAddress, uint16_t data)
{
    if (!BoardUsable())
        return TOpResult::LinkFailed;
    return WriteMemoryWord(*Board(), memoryType, wordAddress, data);
}

std::shared_ptr<TMemoryLink> TFormMemory::Link()
{
    return m_pLink;
}

std::unique_ptr<TTransferProgress> TFormMemory::StartProgress()
{
    return std::make_unique<TTransferProgressDialog>(this);
}

uint32_t TFormMemory::TickCount()
{
    return Host().TickCount();
}
