#include "panels/UnitSeg7.h"

#include "board/Board.h"
#include "panels/CanvasText.h"
#include "skin/BitmapManager.h"
#include "skin/PictureText.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"

#include <QPainter>

namespace
{

constexpr int DIGIT_COUNT = static_cast<int>(SEG7_DIGIT_COUNT);
constexpr int DIGIT_VALUES = 16;
constexpr int ARROW_COUNT = 2 * DIGIT_COUNT;

// Digit k is anchored at (270 - 70 k, 85): HEX0 rightmost, HEX3 leftmost.
constexpr int ANCHOR_RIGHT_X = 270;
constexpr int ANCHOR_STEP_X = 70;
constexpr int ANCHOR_TOP = 85;
// Its picture at the anchor + (8, 20), its name at the anchor + (11, 0).
constexpr int PICTURE_OFFSET_X = 8;
constexpr int PICTURE_TOP = 105;
constexpr int LABEL_OFFSET_X = 11;
// Its arrows under the picture: right at (300 - 70 k, 170), left at (278 - 70 k, 170).
constexpr int RIGHT_ARROW_X = 300;
constexpr int LEFT_ARROW_X = 278;
constexpr int ARROW_TOP = 170;

const char* const RIGHT_STRIP = "RIGHT_BTN";
const char* const LEFT_STRIP = "LEFT_BTN";

const char* const LABEL_FONT = "MS Sans Serif";
constexpr int LABEL_POINTS = 10;

// Bitmap keys 1 to 16 are the pictures of the values 0 to 15.
constexpr int32_t FIRST_DIGIT_KEY = 1;

int AnchorX(int k)
{
    return ANCHOR_RIGHT_X - ANCHOR_STEP_X * k;
}

QString DigitName(int k)
{
    return QStringLiteral("HEX%1").arg(k);
}

} // namespace

TFormSeg7::TFormSeg7(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(SEG7_BACKGROUND)),
      m_pArrowButtons(&AddButtonGroup(bmPush))
{
    m_DigitValues.fill(SEG7_START_VALUE);
    for (int value = 0; value < DIGIT_VALUES; ++value)
    {
        const QString name = QStringLiteral("HEX_%1").arg(value, 0, 16);
        if (!Bitmaps().AddBitmap(FIRST_DIGIT_KEY + value, name, false))
            qWarning("The program's resources hold no %s bitmap", qPrintable(name));
    }
    for (int k = 0; k < DIGIT_COUNT; ++k)
    {
        const int shift = ANCHOR_STEP_X * k;
        m_pArrowButtons->AddButton(2 * k, QString(), ARROW_TOP, RIGHT_ARROW_X - shift,
                                   QString::fromLatin1(RIGHT_STRIP));
        m_pArrowButtons->AddButton(2 * k + 1, QString(), ARROW_TOP, LEFT_ARROW_X - shift,
                                   QString::fromLatin1(LEFT_STRIP));
        m_pArrowButtons->SetName(2 * k, DigitName(k) + QStringLiteral(" up"));
        m_pArrowButtons->SetName(2 * k + 1, DigitName(k) + QStringLiteral(" down"));
        const QRect picture(QPoint(AnchorX(k) + PICTURE_OFFSET_X, PICTURE_TOP),
                            Bitmaps().GetBitmapSize(FIRST_DIGIT_KEY));
        m_DigitTexts[static_cast<std::size_t>(k)] = new TPictureText(this, picture);
    }
    TellDigits();
    EnableArrows(false);
}

void TFormSeg7::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    ShowInfo(QString(), TInfoColour::Green);
    EnableArrows(board && board->IsConnected());
}

void TFormSeg7::DetachBoard()
{
    EnableArrows(false);
    TFormPanel::DetachBoard();
}

TBoardAreas TFormSeg7::BoardAreas() const
{
    return {TBoardArea::SegDisp};
}

void TFormSeg7::ButtonClick(TButtonManager&, int32_t id)
{
    if (id < 0 || id >= ARROW_COUNT)
        return;
    // The digits show what the board holds: a step it cannot hear is not taken. A board that
    // is no longer connected is still a failure, once.
    if (!IsLive())
    {
        if (Board())
            ReportLinkFailure();
        return;
    }
    int& value = m_DigitValues[static_cast<std::size_t>(id / 2)];
    const bool up = id % 2 == 0;
    value = (value + (up ? 1 : DIGIT_VALUES - 1)) % DIGIT_VALUES;
    repaint();
    TellDigits();
    SendDigits();
}

// Unlike the LED panel, a board that is no longer connected is reported as a failure too:
// the op answers LinkFailed for it.
void TFormSeg7::SendDigits()
{
    if (!Board())
        return;
    const uint32_t value = PackSeg7Digits(m_DigitValues);
    Exchange([value](TBoard& board) { return SetSeg7Digits(board, value); }, TRefusal::LinkFailed);
}

void TFormSeg7::EnableArrows(bool enable)
{
    for (int32_t id = 0; id < ARROW_COUNT; ++id)
        m_pArrowButtons->SetEnabled(id, enable);
}

void TFormSeg7::FormPaint(QPainter& canvas)
{
    TFormPanel::FormPaint(canvas);
    DrawDigits(canvas);
}

void TFormSeg7::DrawDigits(QPainter& canvas) const
{
    canvas.setFont(PointFont(QString::fromLatin1(LABEL_FONT), LABEL_POINTS));
    canvas.setPen(QColor(TITLE_CYAN));
    for (int k = 0; k < DIGIT_COUNT; ++k)
    {
        const int x = AnchorX(k);
        Bitmaps().DrawBitmap(FIRST_DIGIT_KEY + m_DigitValues[static_cast<std::size_t>(k)],
                             x + PICTURE_OFFSET_X, PICTURE_TOP, canvas);
        DrawTextAt(canvas, x + LABEL_OFFSET_X, ANCHOR_TOP, DigitName(k));
    }
}

void TFormSeg7::TellDigits()
{
    for (int k = 0; k < DIGIT_COUNT; ++k)
    {
        const int value = m_DigitValues[static_cast<std::size_t>(k)];
        m_DigitTexts[static_cast<std::size_t>(k)]->setText(
            DigitName(k) + QLatin1Char(' ') + QString::number(value, DIGIT_VALUES).toUpper());
    }
}
