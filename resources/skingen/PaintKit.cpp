#include "resources/skingen/PaintKit.h"

#include <QLinearGradient>
#include <QPainter>

namespace PaintKit
{

QImage NewCanvas(int width, int height, QRgb fill, int scale)
{
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    return image;
}

QFont ArtFont(qreal pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QImage StackRows(const std::array<QImage, BUTTON_ROWS>& rows)
{
    // Painted in layout pixels, so that each row lands pixel for pixel at any scale.
    const int h = qRound(rows[0].deviceIndependentSize().height());
    QImage strip(rows[0].width(), rows[0].height() * BUTTON_ROWS, QImage::Format_RGB32);
    strip.setDevicePixelRatio(rows[0].devicePixelRatio());
    QPainter p(&strip);
    for (int i = 0; i < BUTTON_ROWS; ++i)
    {
        p.drawImage(QPoint(0, h * i), rows[static_cast<size_t>(i)]);
    }
    return strip;
}

QPainterPath RoundRect(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QColor Mix(const QColor& a, const QColor& b, qreal t)
{
    auto mix = [t](int x, int y) { return qBound(0, qRound(x + (y - x) * t), 255); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()),
                  mix(a.alpha(), b.alpha()));
}

void DrawButtonFace(QPainter& p, const QRectF& rect, ButtonRow row, const ButtonLook& look)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor base = look.Base;
    QColor top;
    QColor bottom;
    QColor border;
    switch (row)
    {
    case ButtonRow::Normal:
        top = base.lighter(128);
        bottom = base.darker(135);
        border = base.lighter(175);
        break;
    case ButtonRow::Disabled:
        top = Mix(base, QColor(0x20, 0x24, 0x2a), 0.75);
        bottom = Mix(base, QColor(0x18, 0x1b, 0x20), 0.85);
        border = QColor(0x33, 0x39, 0x42);
        break;
    case ButtonRow::Hover:
        top = Mix(base.lighter(165), look.Accent, 0.10);
        bottom = Mix(base.lighter(105), look.Accent, 0.06);
        border = look.Accent;
        break;
    case ButtonRow::Pressed:
        top = base.darker(190);
        bottom = base.darker(125);
        border = Mix(look.Accent, base, 0.35);
        break;
    }

    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(0.48, Mix(top, bottom, 0.55));
    fill.setColorAt(0.52, Mix(top, bottom, 0.70));
    fill.setColorAt(1.0, bottom);
    p.setPen(QPen(border, 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(body, look.Radius, look.Radius);

    const QRectF inner = body.adjusted(1, 1, -1, -1);
    const qreal innerRadius = qMax(0.0, look.Radius - 1);
    p.setBrush(Qt::NoBrush);
    if (row == ButtonRow::Normal || row == ButtonRow::Hover)
    {
        // Lit top edge: the face reads as raised.
        QColor shine =
            row == ButtonRow::Hover ? Mix(look.Accent, Qt::white, 0.5) : top.lighter(150);
        shine.setAlpha(row == ButtonRow::Hover ? 120 : 90);
        p.setPen(QPen(shine, 1.0));
        p.drawLine(QPointF(inner.left() + innerRadius, inner.top() + 0.5),
                   QPointF(inner.right() - innerRadius, inner.top() + 0.5));
    }
    if (row == ButtonRow::Hover)
    {
        QColor glow = look.Accent;
        glow.setAlpha(70);
        p.setPen(QPen(glow, 1.0));
        p.drawRoundedRect(inner, innerRadius, innerRadius);
    }
    if (row == ButtonRow::Pressed)
    {
        // Shadow under the top edge: the face reads as pushed in.
        p.setPen(QPen(QColor(0, 0, 0, 150), 1.0));
        p.drawLine(QPointF(inner.left() + innerRadius, inner.top() + 0.5),
                   QPointF(inner.right() - innerRadius, inner.top() + 0.5));
        p.setPen(QPen(QColor(0, 0, 0, 70), 1.0));
        p.drawLine(QPointF(inner.left() + 1, inner.top() + 1.5),
                   QPointF(inner.right() - 1, inner.top() + 1.5));
    }
    p.restore();
}

QColor GlyphColour(ButtonRow row, const QColor& hoverColour)
{
    switch (row)
    {
    case ButtonRow::Normal:
        return QColor(0xc8, 0xd2, 0xde);
    case ButtonRow::Disabled:
        return QColor(0x5a, 0x62, 0x6c);
    case ButtonRow::Hover:
        return hoverColour;
    case ButtonRow::Pressed:
        return Mix(hoverColour, QColor(0x80, 0x80, 0x80), 0.3);
    }
    return Qt::white;
}

void KeyOutside(QImage& image, const QPainterPath& shape, QRgb key)
{
    QImage mask(image.size(), QImage::Format_ARGB32);
    mask.setDevicePixelRatio(image.devicePixelRatio());
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(shape);
    }
    const QRgb nudged = qRgb(qMax(0, qRed(key) - 1), qGreen(key), qBlue(key));
    for (int y = 0; y < image.height(); ++y)
    {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* inside = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
        {
            if (qAlpha(inside[x]) == 0)
            {
                line[x] = key;
            }
            else if ((line[x] & RGB_MASK) == (key & RGB_MASK))
            {
                line[x] = nudged;
            }
        }
    }
}

void DrawLabel(QPainter& p, const QPointF& at, const QString& text, const QFont& font,
               const QColor& colour, Qt::Alignment align)
{
    p.save();
    p.setFont(font);
    p.setPen(colour);
    constexpr qreal BOX = 2000.0;
    QRectF box(at.x(), at.y(), BOX, BOX);
    if (align & Qt::AlignHCenter)
    {
        box.moveLeft(at.x() - BOX / 2);
    }
    else if (align & Qt::AlignRight)
    {
        box.moveLeft(at.x() - BOX);
    }
    if (align & Qt::AlignVCenter)
    {
        box.moveTop(at.y() - BOX / 2);
    }
    else if (align & Qt::AlignBottom)
    {
        box.moveTop(at.y() - BOX);
    }
    p.drawText(box, static_cast<int>(align), text);
    p.restore();
}

} // namespace PaintKit
