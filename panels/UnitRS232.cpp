#include "panels/UnitRS232.h"

#include "board/Board.h"
#include "ops/RS232Ops.h"
#include "panels/ReceiveBox.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace
{

const char* const LABEL_FONT = "Arial";
constexpr int LABEL_POINTS = 10;

const QRect CAPTION_RECT(32, 24, 250, 17);
const QRect RECEIVE_RECT(32, 48, 120, 17);
const QRect SEND_RECT(32, 152, 120, 17);
const QRect EDIT_RX_RECT(34, 72, 320, 60);
const QRect EDIT_SEND_RECT(34, 176, 320, 60);
const QRect BUTTON_SEND_RECT(289, 242, 64, 17);
const QRect BUTTON_CLEAR_RECT(289, 138, 64, 17);

// The receive box shows the board's text over the background; the send box is a plain box.
const char* const EDIT_RX_STYLE = "QPlainTextEdit { color: white; background: transparent; "
                                  "border: 1px solid rgb(150,150,150); }";

const char* const MONITOR_TEXT = "RS232 Monitor...";
const char* const TRANSMITTING_TEXT = "RS232 transmitting...";
const char* const TRANSMIT_OK_TEXT = "RS232 transmit successfully.";

QFont LabelFont()
{
    return PointFont(QString::fromLatin1(LABEL_FONT), LABEL_POINTS);
}

QLineEdit* MakeEdit(QWidget* parent, const QRect& rect)
{
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(rect);
    edit->setFont(LabelFont());
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->clear();
    return edit;
}

TReceiveBox* MakeReceiveBox(QWidget* parent, const QRect& rect)
{
    auto* box = new TReceiveBox(parent);
    box->setGeometry(rect);
    box->setFont(LabelFont());
    box->setStyleSheet(QString::fromLatin1(EDIT_RX_STYLE));
    return box;
}

} // namespace

TFormRS232::TFormRS232(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(RS232_BACKGROUND)),
      LabelCaption(
          MakeTextLabel(this, CAPTION_RECT, LabelFont(), "UART to USB TX/RX", QColor(TITLE_CYAN))),
      LabelReceive(MakeTextLabel(this, RECEIVE_RECT, LabelFont(), "Receive:", Qt::white)),
      LabelSend(MakeTextLabel(this, SEND_RECT, LabelFont(), "Send:", Qt::white)),
      EditRx(MakeReceiveBox(this, EDIT_RX_RECT)), EditSend(MakeEdit(this, EDIT_SEND_RECT)),
      ButtonSend(AddHiddenButton(BUTTON_SEND_RECT, QStringLiteral("Send"))),
      ButtonClear(AddHiddenButton(BUTTON_CLEAR_RECT, QStringLiteral("Clear"))),
      m_Buttons(AddButtonGroup(bmPush))
{
    NameAfterCaption(EditRx, LabelReceive);
    NameAfterCaption(EditSend, LabelSend);
    AddSkinnedButton(m_Buttons, RS232_ID_SEND, ButtonSend, QStringLiteral("NORMAL_BTN"));
    AddSkinnedButton(m_Buttons, RS232_ID_CLEAR, ButtonClear, QStringLiteral("NORMAL_BTN"));
    SetSendEnabled(false);
}

void TFormRS232::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    ShowInfo(QString(), TInfoColour::Green);
    if (!board || !board->IsConnected())
    {
        SetSendEnabled(false);
        StopPolling();
        return;
    }
    // A monitor that would not start leaves the link to the other panels: no disconnect.
    if (StartUartMonitor(*board) != TOpResult::Done)
    {
        ShowInfo(QString::fromLatin1(RS232_START_FAILED_TEXT), TInfoColour::Red);
        return;
    }
    SetSendEnabled(true);
    StartPolling(static_cast<int>(UART_POLL_INTERVAL_MS));
    ShowInfo(QString::fromLatin1(MONITOR_TEXT), TInfoColour::Yellow);
}

void TFormRS232::DetachBoard()
{
    StopPolling();
    if (Board() && !LinkLost())
        StopUartMonitor(*Board());
    SetSendEnabled(false);
    TFormPanel::DetachBoard();
}

TBoardAreas TFormRS232::BoardAreas() const
{
    return {TBoardArea::RS232};
}

void TFormRS232::ButtonClick(TButtonManager&, int32_t id)
{
    if (id == RS232_ID_SEND)
        ButtonSendClick();
    else if (id == RS232_ID_CLEAR)
        ButtonClearClick();
}

void TFormRS232::ButtonSendClick()
{
    SetSendEnabled(false);
    const QByteArray text = EditSend->text().toLatin1();
    ShowInfo(QString::fromLatin1(TRANSMITTING_TEXT), TInfoColour::Yellow);
    // A lost link reaches the main window when the click ends, after the texts.
    const TOpResult result = Exchange([&text](TBoard& board) { return SendUartText(board, text); });
    if (result == TOpResult::Done)
        ShowInfo(QString::fromLatin1(TRANSMIT_OK_TEXT), TInfoColour::Green);
    else
        ShowInfo(QString::fromLatin1(RS232_TRANSMIT_FAILED_TEXT), TInfoColour::Red);
    SetSendEnabled(true);
}

void TFormRS232::ButtonClearClick()
{
    EditRx->Clear();
}

bool TFormRS232::PollBoard()
{
    QByteArray received;
    const TOpResult result =
        Exchange([&received](TBoard& board) { return ReceiveUartChunk(board, received); });
    EditRx->Append(received);
    if (result == TOpResult::LinkFailed)
    {
        ShowInfo(QString::fromLatin1(RS232_RECEIVE_FAILED_TEXT), TInfoColour::Red);
        return false;
    }
    // A refusal appends nothing and does not stop the poll.
    ShowInfo(QString::fromLatin1(MONITOR_TEXT), TInfoColour::Yellow);
    return true;
}

void TFormRS232::SetSendEnabled(bool enabled)
{
    ButtonSend->setEnabled(enabled);
    m_Buttons.SetEnabled(RS232_ID_SEND, enabled);
}
