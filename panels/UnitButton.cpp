#include "panels/UnitButton.h"

#include "board/Board.h"
#include "ops/ButtonOps.h"
#include "panels/CanvasText.h"
#include "skin/BitmapManager.h"
#include "skin/PictureText.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"

#include <QPainter>

namespace
{

enum : int32_t
{
    BMP_SW_UP = 1,
    BMP_SW_DOWN,
    BMP_BUTTON_UP,
    BMP_BUTTON_DOWN
};

// Keys: picture at (223 - 48 i, 50), 44 pixels wide, name under it; KEY0 rightmost.
constexpr int KEY_RIGHT_X = 223;
constexpr int KEY_STEP_X = 48;
constexpr int KEY_TOP = 50;
constexpr int KEY_HALF_WIDTH = 22;
constexpr int KEY_LABEL_TOP = 98;
// Switches: picture at (332 - 32 j, 190), 19 pixels wide; SW0 rightmost.
constexpr int SWITCH_RIGHT_X = 332;
constexpr int SWITCH_STEP_X = 32;
constexpr int SWITCH_TOP = 190;
constexpr int SWITCH_HALF_WIDTH = 10;
constexpr int SWITCH_LABEL_TOP = 254;

const char* const TEXT_FONT = "Arial";
constexpr int LABEL_POINTS = 8;
constexpr int TITLE_POINTS = 10;
constexpr int TITLE_LEFT = 20;
constexpr int KEYS_TITLE_TOP = 25;
constexpr int SWITCHES_TITLE_TOP = 165;

bool IsDown(uint32_t state, uint32_t bit)
{
    return (state >> bit & 1u) != 0;
}

int KeyLeft(uint32_t i)
{
    return KEY_RIGHT_X - KEY_STEP_X * static_cast<int>(i);
}

int SwitchLeft(uint32_t j)
{
    return SWITCH_RIGHT_X - SWITCH_STEP_X * static_cast<int>(j);
}

} // namespace

TFormButton::TFormButton(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(BUTTON_BACKGROUND))
{
    const std::pair<int32_t, const char*> pictures[] = {{BMP_SW_UP, "SW_UP"},
                                                        {BMP_SW_DOWN, "SW_DOWN"},
                                                        {BMP_BUTTON_UP, "BUTTON_UP"},
                                                        {BMP_BUTTON_DOWN, "BUTTON_DOWN"}};
    for (const auto& [key, name] : pictures)
    {
        if (!Bitmaps().AddBitmap(key, QString::fromLatin1(name), true))
            qWarning("The program's resources hold no %s bitmap", name);
    }
    const QSize key = Bitmaps().GetBitmapSize(BMP_BUTTON_UP);
    for (uint32_t i = 0; i < KEY_COUNT; ++i)
        m_KeyTexts[i] = new TPictureText(this, QRect(QPoint(KeyLeft(i), KEY_TOP), key));
    const QSize slide = Bitmaps().GetBitmapSize(BMP_SW_UP);
    for (uint32_t j = 0; j < SWITCH_COUNT; ++j)
        m_SwitchTexts[j] = new TPictureText(this, QRect(QPoint(SwitchLeft(j), SWITCH_TOP), slide));
    TellInputs();
}

void TFormButton::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    ShowInfo(QString(), TInfoColour::Green);
    if (board && board->IsConnected())
    {
        StartPolling(BUTTON_POLL_MS);
        ShowInfo(QString::fromLatin1(TEXT_MONITOR_INPUTS), TInfoColour::Yellow);
    }
}

void TFormButton::DetachBoard()
{
    ShowInfo(QString(), TInfoColour::Yellow);
    TFormPanel::DetachBoard();
}

TBoardAreas TFormButton::BoardAreas() const
{
    return {TBoardArea::ButtonSw, TBoardArea::Button};
}

// A refusal or a board that is no longer connected fails the poll like a lost link: the kit
// then stops polling and tells the main window once. The pictures keep the last good state.
bool TFormButton::PollBoard()
{
    uint32_t state = 0;
    const TOpResult result = Exchange(
        [&state](TBoard& board) { return QueryKeysSwitches(board, state); }, TRefusal::LinkFailed);
    if (result != TOpResult::Done)
        return false;
    m_InputState = state;
    if (m_InputState != m_LastDrawnState)
    {
        m_LastDrawnState = m_InputState;
        repaint();
        TellInputs();
    }
    return true;
}

void TFormButton::TellInputs()
{
    for (uint32_t i = 0; i < KEY_COUNT; ++i)
    {
        const bool down = IsDown(m_InputState, i);
        const QString state = down ? QStringLiteral("pressed") : QStringLiteral("released");
        m_KeyTexts[i]->setText(QStringLiteral("KEY%1 %2").arg(i).arg(state));
    }
    for (uint32_t j = 0; j < SWITCH_COUNT; ++j)
    {
        const bool on = IsDown(m_InputState, INPUT_SWITCH_SHIFT + j);
        const QString state = on ? QStringLiteral("on") : QStringLiteral("off");
        m_SwitchTexts[j]->setText(QStringLiteral("SW%1 %2").arg(j).arg(state));
    }
}

void TFormButton::FormPaint(QPainter& canvas)
{
    TFormPanel::FormPaint(canvas);
    DrawInputs(canvas);
}

void TFormButton::DrawInputs(QPainter& canvas) const
{
    canvas.setFont(PointFont(QString::fromLatin1(TEXT_FONT), LABEL_POINTS));
    canvas.setPen(Qt::white);
    for (uint32_t i = 0; i < KEY_COUNT; ++i)
    {
        const int left = KeyLeft(i);
        Bitmaps().DrawBitmap(IsDown(m_InputState, i) ? BMP_BUTTON_DOWN : BMP_BUTTON_UP, left,
                             KEY_TOP, canvas);
        DrawTextCentred(canvas, left + KEY_HALF_WIDTH, KEY_LABEL_TOP,
                        QStringLiteral("KEY%1").arg(i));
    }
    for (uint32_t j = 0; j < SWITCH_COUNT; ++j)
    {
        const int left = SwitchLeft(j);
        Bitmaps().DrawBitmap(IsDown(m_InputState, INPUT_SWITCH_SHIFT + j) ? BMP_SW_DOWN : BMP_SW_UP,
                             left, SWITCH_TOP, canvas);
        DrawTextCentred(canvas, left + SWITCH_HALF_WIDTH, SWITCH_LABEL_TOP,
                        QStringLiteral("SW%1").arg(j));
    }
    canvas.setFont(PointFont(QString::fromLatin1(TEXT_FONT), TITLE_POINTS));
    canvas.setPen(QColor(TITLE_CYAN));
    DrawTextAt(canvas, TITLE_LEFT, KEYS_TITLE_TOP, QStringLiteral("Keys"));
    DrawTextAt(canvas, TITLE_LEFT, SWITCHES_TITLE_TOP, QStringLiteral("Switches"));
}
