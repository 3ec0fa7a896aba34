#include "skin/CustomButton.h"

#include "skin/BitmapManager.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace
{

const QColor CAPTION_HIGHLIGHT(0, 234, 255);
const QColor CAPTION_NORMAL(255, 255, 255);
const QColor CAPTION_DISABLED(150, 150, 150);

} // namespace

TCustomButton::TCustomButton(int32_t id, const QString& caption, bool /*transparent*/, int top,
                             int left, const QString& bitmapName)
    : m_ID(id), m_X(left), m_Y(top), m_Caption(caption)
{
    if (!bitmapName.isEmpty())
    {
        auto strip = std::make_unique<QImage>();
        if (TBitmapManager::LoadBitmapResource(bitmapName, *strip))
        {
            m_pBitmap = std::move(strip);
            m_BitmapName = bitmapName;
        }
    }
}

int TCustomButton::RowHeight() const
{
    return m_pBitmap ? m_pBitmap->height() / BUTTON_STRIP_ROWS : 0;
}

QRect TCustomButton::Rect() const
{
    if (!m_pBitmap)
    {
        return {};
    }
    return QRect(m_X, m_Y, m_pBitmap->width(), RowHeight());
}

bool TCustomButton::Contains(int x, int y) const
{
    if (!m_pBitmap)
    {
        return false;
    }
    return x >= m_X && y >= m_Y && x < m_X + m_pBitmap->width() && y < m_Y + RowHeight();
}

void TCustomButton::Draw(QPainter& canvas, int row) const
{
    const int w = m_pBitmap ? m_pBitmap->width() : 0;
    const int h = RowHeight();
    if (m_pBitmap)
    {
        canvas.drawImage(QPoint(m_X, m_Y), *m_pBitmap, QRect(0, h * row, w, h));
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
    return m_bEnabled ? BUTTON_ROW_NORMAL : BUTTON_ROW_DISABLED;
}

void TCustomButton::PaintLook(QPainter& canvas) const
{
    Draw(canvas, LookRow());
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
    QImage strip;
    if (!TBitmapManager::LoadBitmapResource(name, strip))
    {
        return false;
    }
    *m_pBitmap = strip;
    m_BitmapName = name;
    return true;
}
