#include "panels/UnitLED.h"

#include "board/Board.h"
#include "ops/LedOps.h"
#include "panels/CanvasText.h"
#include "skin/SkinWidgets.h"

#include <QPainter>
#include <QPushButton>

namespace
{

// Lamps: GLED i at (332 - 33 i, 60), RLED j at (332 - 33 j, 145); ids 0-7 green, 8-17 red.
constexpr int LED_RIGHT_X = 332;
constexpr int LED_STEP_X = 33;
constexpr int GREEN_TOP = 60;
constexpr int RED_TOP = 145;
constexpr int32_t FIRST_RED_ID = static_cast<int32_t>(LED_GREEN_COUNT);
constexpr int32_t LED_ID_COUNT = static_cast<int32_t>(LED_COUNT);

const char* const GREEN_LIT = "LEDG_LIGHT_BTN";
const char* const GREEN_UNLIT = "LEDG_UNLIGHT_BTN";
const char* const RED_LIT = "LEDR_LIGHT_BTN";
const char* const RED_UNLIT = "LEDR_UNLIGHT_BTN";

const char* const PUSH_STRIP = "NORMAL_BTN";
const QRect LIGHT_ALL_RECT(106, 243, 64, 17);
const QRect UNLIGHT_ALL_RECT(218, 243, 64, 17);

// Names under the lamps, centred on each lamp's column (332 + 22 / 2 + 1).
const char* const LABEL_FONT = "Arial";
constexpr int LABEL_POINTS = 7;
constexpr int LABEL_CENTRE_X = 344;
constexpr int GREEN_LABEL_TOP = 100;
constexpr int RED_LABEL_TOP = 185;
constexpr QRgb GREEN_LABEL_COLOUR = qRgb(0, 255, 48);
constexpr QRgb RED_LABEL_COLOUR = qRgb(255, 0, 0);

bool IsGreen(int32_t id)
{
    return id < FIRST_RED_ID;
}

// The lamp's column: green and red count from the right alike.
int LedColumn(int32_t id)
{
    return IsGreen(id) ? id : id - FIRST_RED_ID;
}

// The lamp's name as the board prints it: GLED0-7, RLED0-9.
QString LampName(int32_t id)
{
    return QStringLiteral("%1LED%2").arg(IsGreen(id) ? 'G' : 'R').arg(LedColumn(id));
}

QString LampStrip(int32_t id, bool lit)
{
    const char* name = IsGreen(id) ? (lit ? GREEN_LIT : GREEN_UNLIT) : (lit ? RED_LIT : RED_UNLIT);
    return QString::fromLatin1(name);
}

} // namespace

TFormLED::TFormLED(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(LED_BACKGROUND)),
      ButtonLedLightAll(AddHiddenButton(LIGHT_ALL_RECT, QStringLiteral("Light All"))),
      ButtonLedUnlightAll(AddHiddenButton(UNLIGHT_ALL_RECT, QStringLiteral("Unlight All"))),
      m_pLedButtons(&AddButtonGroup(bmToggle)), m_pPushButtons(&AddButtonGroup(bmPush))
{
    for (int32_t id = 0; id < LED_ID_COUNT; ++id)
    {
        const int left = LED_RIGHT_X - LED_STEP_X * LedColumn(id);
        const int top = IsGreen(id) ? GREEN_TOP : RED_TOP;
        if (!m_pLedButtons->AddButton(id, QString(), top, left, LampStrip(id, true)))
            qWarning("The program's resources hold no %s bitmap", qPrintable(LampStrip(id, true)));
        m_pLedButtons->SetChecked(id, true);
        m_pLedButtons->SetName(id, LampName(id));
    }
    AddSkinnedButton(*m_pPushButtons, ID_LIGHT_ALL, ButtonLedLightAll,
                     QString::fromLatin1(PUSH_STRIP));
    AddSkinnedButton(*m_pPushButtons, ID_UNLIGHT_ALL, ButtonLedUnlightAll,
                     QString::fromLatin1(PUSH_STRIP));
    EnableButtons(false);
}

void TFormLED::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    ShowInfo(QString(), TInfoColour::Green);
    EnableButtons(board && board->IsConnected());
}

void TFormLED::DetachBoard()
{
    EnableButtons(false);
    TFormPanel::DetachBoard();
}

TBoardAreas TFormLED::BoardAreas() const
{
    return {TBoardArea::Led};
}

uint32_t TFormLED::LedMask() const
{
    uint32_t mask = 0;
    uint32_t bit = 1;
    for (int32_t id = 0; id < LED_ID_COUNT; ++id, bit <<= 1)
    {
        if (m_pLedButtons->IsChecked(id))
            mask |= bit;
    }
    return mask;
}

void TFormLED::ButtonClick(TButtonManager& group, int32_t id)
{
    if (&group == m_pLedButtons)
    {
        // The toggle group has flipped the lamp already; its picture follows.
        ShowLed(id);
        SendPattern();
    }
    else if (id == ID_LIGHT_ALL)
    {
        ButtonLedLightAllClick();
    }
    else if (id == ID_UNLIGHT_ALL)
    {
        ButtonLedUnlightAllClick();
    }
}

void TFormLED::ButtonLedLightAllClick()
{
    SetAllLeds(true);
}

void TFormLED::ButtonLedUnlightAllClick()
{
    SetAllLeds(false);
}

// Sent even when nothing changed, so the board catches up with the pictures.
void TFormLED::SetAllLeds(bool lit)
{
    for (int32_t id = 0; id < LED_ID_COUNT; ++id)
    {
        m_pLedButtons->SetBitmap(id, LampStrip(id, lit));
        m_pLedButtons->SetChecked(id, lit);
    }
    SendPattern();
}

void TFormLED::ShowLed(int32_t id)
{
    m_pLedButtons->SetBitmap(id, LampStrip(id, m_pLedButtons->IsChecked(id)));
}

// A board that is not connected is left alone without a failure; a refusal counts as a
// lost link. The pictures stay as the user set them either way.
void TFormLED::SendPattern()
{
    if (!Board())
        return;
    const uint32_t mask = LedMask();
    Exchange([mask](TBoard& board) { return SetLeds(board, mask); }, TRefusal::LinkFailed);
}

void TFormLED::EnableButtons(bool enable)
{
    for (int32_t id = 0; id < LED_ID_COUNT; ++id)
        m_pLedButtons->SetEnabled(id, enable);
    m_pPushButtons->SetEnabled(ID_LIGHT_ALL, enable);
    m_pPushButtons->SetEnabled(ID_UNLIGHT_ALL, enable);
}

void TFormLED::FormMouseDown(int x, int y)
{
    if (IsLive())
        TFormPanel::FormMouseDown(x, y);
}

void TFormLED::FormMouseMove(int x, int y)
{
    if (IsLive())
        TFormPanel::FormMouseMove(x, y);
}

// The lamps show what the board holds: while it cannot hear, a release changes none of them.
void TFormLED::FormMouseUp(int x, int y)
{
    if (IsLive())
        TFormPanel::FormMouseUp(x, y);
}

void TFormLED::FormPaint(QPainter& canvas)
{
    TFormPanel::FormPaint(canvas);
    canvas.setFont(PointFont(QString::fromLatin1(LABEL_FONT), LABEL_POINTS));
    for (int32_t id = 0; id < LED_ID_COUNT; ++id)
    {
        canvas.setPen(QColor(IsGreen(id) ? GREEN_LABEL_COLOUR : RED_LABEL_COLOUR));
        DrawTextCentred(canvas, LABEL_CENTRE_X - LED_STEP_X * LedColumn(id),
                        IsGreen(id) ? GREEN_LABEL_TOP : RED_LABEL_TOP, LampName(id));
    }
}
