#include "skin/CustomButton.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace
{

const QColor CAPTION_HIGHLIGHT(0, 234, 255);
const QColor CAPTION_NORMAL(255, 255, 255);
const QColor CAPTION_DISABLED(150, 150, 150);
// The focus outline: one dotted pixel just inside the button's edge.
const QColor FOCUS_OUTLINE(255, 255, 255);
constexpr int FOCUS_INSET = 1;

} // namespace

TCustomButton::TCustomButton(int32_t id, const QString& caption, bool /*transparent*/, int top,
                             int left, const QString& bitmapName)
    : m_ID(id), m_X(left), m_Y(top), m_Caption(caption)
{
    if (!bitmapName.isEmpty())
    {
        auto strip = std::make_unique<TSkinBitmap>();
        if (strip->Load(bitmapName))
        {
            m_pBitmap = std::move(strip);
            m_BitmapName = bitmapName;
        }
    }
}

int TCustomButton::RowHeight() const
{
    return m_pBitmap ? m_pBitmap->Size().height() / BUTTON_STRIP_ROWS : 0;
}

QRect TCustomButton::Rect() const
{
    if (!m_pBitmap)
    {
        return {};
    }
    return QRect(m_X, m_Y, m_pBitmap->Size().width(), RowHeight());
}

bool TCustomButton::Contains(int x, int y) const
{
    if (!m_pBitmap)
    {
        return false;
    }
    return x >= m_X && y >= m_Y && x < m_X + m_pBitmap->Size().width() && y < m_Y + RowHeight();
}

void TCustomButton::Draw(QPainter& canvas, int row) const
{
    const int w = m_pBitmap ? m_pBitmap->Size().width() : 0;
    const int h = RowHeight();
    if (m_pBitmap)
    {
        m_pBitmap->Draw(canvas, QPoint(m_X, m_Y), QRect(0, h * row, w, h));
    }
    if (m_Caption.isEmpty())
    {
        return;
    }
    QFont font(QString::fromLatin1(BUTTON_CAPTION_FONT));
    font.setPixelSize(BUTTON_CAPTION_PIXELS);
    canvas.setFont(font);
    const QFontMetrics metrics(font);
    const int cw = metrics.horizontalAdvance(m_Caption);
    const int ch = metrics.height();
    const int x = m_X + (w - cw) / 2;
    const int y = m_Y + (h - ch) / 2;
    if (!m_bEnabled)
    {
        canvas.setPen(CAPTION_DISABLED);
    }
    else if (row == BUTTON_ROW_PRESSED || m_bChecked)
    {
        canvas.setPen(CAPTION_HIGHLIGHT);
    }
    else
    {
        canvas.setPen(CAPTION_NORMAL);
    }
    canvas.drawText(x, y + metrics.ascent(), m_Caption);
}

void TCustomButton::Paint(QPainter& canvas) const
{
    Draw(canvas, m_bEnabled ? BUTTON_ROW_NORMAL : BUTTON_ROW_DISABLED);
}

int TCustomButton::LookRow() const
{
    switch (m_Look)
    {
    case lkHover:
        return BUTTON_ROW_HOVER;
    case lkPressed:
        return BUTTON_ROW_PRESSED;
    case lkResting:
        break;
    }
    if (!m_bEnabled)
        return BUTTON_ROW_DISABLED;
    return m_bFocused ? BUTTON_ROW_HOVER : BUTTON_ROW_NORMAL;
}

void TCustomButton::PaintLook(QPainter& canvas) const
{
    Draw(canvas, LookRow());
    if (!m_bFocused || !m_pBitmap)
        return;
    canvas.save();
    canvas.setPen(QPen(FOCUS_OUTLINE, 1, Qt::DotLine));
    canvas.setBrush(Qt::NoBrush);
    // A pen of one pixel draws a rectangle one pixel wider and taller than it is given.
    canvas.drawRect(Rect().adjusted(FOCUS_INSET, FOCUS_INSET, -FOCUS_INSET - 1, -FOCUS_INSET - 1));
    canvas.restore();
}

void TCustomButton::SetCaption(const QString& text)
{
    if (text != m_Caption)
    {
        m_Caption = text;
    }
}

bool TCustomButton::SetBitmap(const QString& name)
{
    if (name.isEmpty())
    {
        return true;
    }
    if (!m_pBitmap)
    {
        return false;
    }
    TSkinBitmap strip;
    if (!strip.Load(name))
    {
        return false;
    }
    *m_pBitmap = strip;
    m_BitmapName = name;
    return true;
}
