#include "panels/UnitVGA.h"

#include "board/Board.h"
#include "ops/HdmiPattern.h"
#include "ops/VGAOps.h"
#include "skin/BitmapManager.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>

namespace
{

const char* const LABEL_FONT = "Arial";
constexpr int LABEL_POINTS = 10;
constexpr int COMPOSITE_KEY = 1;

const QRect CAPTION_RECT(24, 24, 250, 17);
const QRect PATTERN_RECT(32, 56, 56, 17);
const QRect COMBO_VGA_RECT(88, 50, 120, 22);
const QRect IMAGE_VGA_RECT(32, 88, 329, 169);
constexpr int COMBO_VISIBLE_ROWS = 10;
const char* const COMBO_VGA_STYLE =
    "QComboBox { font-family: Arial; font-size: 12px; color: white; background: rgb(64,64,64); }"
    "QComboBox QAbstractItemView { color: white; background: rgb(64,64,64); }";

constexpr QRgb OUTLINE_GREY = qRgb(150, 150, 150);

// The grid patterns: 4 rows of 40 columns, column k at level (16 k) mod 256.
constexpr int GRID_ROWS = 4;
constexpr int GRID_COLUMNS = 40;
constexpr int LEVEL_STEP = 16;
constexpr int LEVEL_MODULUS = 256;

enum TPatternCode
{
    PATTERN_COLOR_SCALE = 0,
    PATTERN_RED,
    PATTERN_GREEN,
    PATTERN_BLUE,
    PATTERN_WHITE,
    PATTERN_BLACK,
    PATTERN_RED_SCALE,
    PATTERN_GREEN_SCALE,
    PATTERN_BLUE_SCALE
};

// "Green" is the half-bright green of the transmitter's own pattern.
QColor PlainColour(int code)
{
    switch (code)
    {
    case PATTERN_RED:
        return QColor(255, 0, 0);
    case PATTERN_GREEN:
        return QColor(0, 128, 0);
    case PATTERN_BLUE:
        return QColor(0, 0, 255);
    case PATTERN_WHITE:
        return QColor(255, 255, 255);
    default:
        return QColor(0, 0, 0);
    }
}

// Colour of a grid cell: which primaries a row lights at level.
QColor CellColour(int code, int row, int level)
{
    int channel = row; // "Color Scale": red, green, blue, then grey
    if (code != PATTERN_COLOR_SCALE)
        channel = code - PATTERN_RED_SCALE;
    switch (channel)
    {
    case 0:
        return QColor(level, 0, 0);
    case 1:
        return QColor(0, level, 0);
    case 2:
        return QColor(0, 0, level);
    default:
        return QColor(level, level, level);
    }
}

QFont LabelFont()
{
    return PointFont(QString::fromLatin1(LABEL_FONT), LABEL_POINTS);
}

// The preview is drawn at the skin's density for the screen, at the layout's size.
QImage PreviewCanvas(qreal ratio)
{
    const int scale = ratio > 1.0 ? SKIN_HIGH_SCALE : 1;
    QImage canvas(IMAGE_VGA_RECT.size() * scale, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(scale);
    return canvas;
}

} // namespace

TFormVGA::TFormVGA(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(VGA_BACKGROUND)),
      LabelCaption(MakeTextLabel(this, CAPTION_RECT, LabelFont(), "HDMI-TX Pattern Display",
                                 QColor(TITLE_CYAN))),
      LabelPattern(MakeTextLabel(this, PATTERN_RECT, LabelFont(), "Pattern:", Qt::white)),
      ComboBoxVGA(new QComboBox(this)), ImageVGA(new QLabel(this)),
      m_Preview(PreviewCanvas(devicePixelRatio()))
{
    if (!Bitmaps().AddBitmap(COMPOSITE_KEY, QString::fromLatin1(VGA_COMPOSITE), false))
        qWarning("The program's resources hold no %s bitmap", VGA_COMPOSITE);
    ComboBoxVGA->setGeometry(COMBO_VGA_RECT);
    NameAfterCaption(ComboBoxVGA, LabelPattern);
    ComboBoxVGA->setEditable(false);
    ComboBoxVGA->setMaxVisibleItems(COMBO_VISIBLE_ROWS);
    ComboBoxVGA->setStyleSheet(QString::fromLatin1(COMBO_VGA_STYLE));
    for (const char* name : HdmiPatternNames)
        ComboBoxVGA->addItem(QString::fromLatin1(name));
    ImageVGA->setGeometry(IMAGE_VGA_RECT);
    ImageVGA->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_Preview.fill(Qt::black);
    ComboBoxVGA->setCurrentIndex(PATTERN_COLOR_SCALE);
    DrawPreview(PATTERN_COLOR_SCALE);
    connect(ComboBoxVGA, &QComboBox::currentIndexChanged, this, &TFormVGA::ComboBoxVGAChange);
}

void TFormVGA::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    ShowInfo(QString(), TInfoColour::Green);
    if (!board || !board->IsConnected())
        return;
    // A transmitter that would not start is no reason to disconnect: later choices still try.
    if (StartHdmi(*board) == TOpResult::Done)
        ComboBoxVGAChange();
}

TBoardAreas TFormVGA::BoardAreas() const
{
    return {TBoardArea::VGA};
}

void TFormVGA::ComboBoxVGAChange()
{
    const int code = ComboBoxVGA->currentIndex();
    DrawPreview(code);
    if (Board() && Board()->IsConnected())
        SetPattern(code);
}

void TFormVGA::SetPattern(int code)
{
    ShowInfo(QString::fromLatin1(HDMI_SETTING_TEXT), TInfoColour::Yellow);
    const TOpResult result = Exchange([code](TBoard& board)
                                      { return SetHdmiPattern(board, static_cast<uint8_t>(code)); },
                                      TRefusal::LinkFailed);
    if (result == TOpResult::Done)
        ShowInfo(QString::fromLatin1(HDMI_SET_OK_TEXT), TInfoColour::Green);
}

void TFormVGA::DrawPreview(int code)
{
    if (code == PATTERN_COLOR_SCALE || (code >= PATTERN_RED_SCALE && code <= PATTERN_BLUE_SCALE))
    {
        DrawGrid(code);
    }
    else
    {
        QPainter canvas(&m_Preview);
        if (code >= PATTERN_RED && code <= PATTERN_BLACK)
            canvas.fillRect(QRect(QPoint(0, 0), IMAGE_VGA_RECT.size()), PlainColour(code));
        else
            Bitmaps().DrawBitmap(COMPOSITE_KEY, 0, 0, canvas);
    }
    ImageVGA->setPixmap(QPixmap::fromImage(m_Preview));
}

void TFormVGA::DrawGrid(int code)
{
    QPainter canvas(&m_Preview);
    const int width = IMAGE_VGA_RECT.width();
    const int height = IMAGE_VGA_RECT.height();
    for (int row = 0; row < GRID_ROWS; ++row)
    {
        const int top = height * row / GRID_ROWS;
        const int bottom = height * (row + 1) / GRID_ROWS;
        for (int column = 0; column < GRID_COLUMNS; ++column)
        {
            const int left = width * column / GRID_COLUMNS;
            const int right = width * (column + 1) / GRID_COLUMNS;
            const int level = (LEVEL_STEP * column) % LEVEL_MODULUS;
            canvas.fillRect(QRect(left, top, right - left, bottom - top),
                            CellColour(code, row, level));
        }
    }
}

void TFormVGA::FormPaint(QPainter& canvas)
{
    TFormPanel::FormPaint(canvas);
    // One pixel round the preview.
    canvas.setBrush(Qt::NoBrush);
    canvas.setPen(QColor(OUTLINE_GREY));
    canvas.drawRect(IMAGE_VGA_RECT.adjusted(-1, -1, 0, 0));
}
