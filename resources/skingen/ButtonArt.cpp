#include "resources/skingen/ButtonArt.h"

#include "resources/skingen/PaintKit.h"
#include "resources/skingen/Palette.h"

#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <functional>

using namespace PaintKit;
using SkinColour::C;

namespace
{

using RowPainter = std::function<void(QPainter&, const QRectF&, ButtonRow)>;

QImage BuildStrip(int width, int height, QRgb surround, int scale, const RowPainter& paintRow)
{
    std::array<QImage, BUTTON_ROWS> rows;
    for (ButtonRow row : ALL_ROWS)
    {
        QImage image = NewCanvas(width, height, surround, scale);
        QPainter p(&image);
        paintRow(p, QRectF(0, 0, width, height), row);
        rows[static_cast<size_t>(row)] = image;
    }
    return StackRows(rows);
}

// A pressed face shows its symbol one pixel lower, as if pushed.
QPointF PressShift(ButtonRow row)
{
    return row == ButtonRow::Pressed ? QPointF(0, 1) : QPointF(0, 0);
}

void DrawSystemGlyph(QPainter& p, const QRectF& r, ButtonArt::SystemGlyph glyph, ButtonRow row)
{
    const QColor hover = glyph == ButtonArt::SystemGlyph::Close ? QColor(0xff, 0x6a, 0x5a)
                                                                : QColor(0x9c, 0xf6, 0xff);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(PressShift(row));
    const QPointF c = r.center();
    QPen pen(GlyphColour(row, hover), 1.4, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    switch (glyph)
    {
    case ButtonArt::SystemGlyph::Close:
        p.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
        p.drawLine(c + QPointF(-3, 3), c + QPointF(3, -3));
        break;
    case ButtonArt::SystemGlyph::Minimise:
        p.drawLine(c + QPointF(-4, 2.5), c + QPointF(4, 2.5));
        break;
    case ButtonArt::SystemGlyph::About:
        p.setPen(Qt::NoPen);
        p.setBrush(GlyphColour(row, hover));
        p.drawEllipse(c + QPointF(0, -3.2), 1.0, 1.0);
        p.drawRoundedRect(QRectF(c.x() - 0.9, c.y() - 1.2, 1.8, 5.0), 0.6, 0.6);
        break;
    }
    p.restore();
}

void DrawPlug(QPainter& p, const QPointF& centre, bool apart, const QColor& colour)
{
    // A cable plug coming from the upper left meeting a socket from the lower right.
    p.save();
    p.translate(centre);
    p.rotate(-45);
    const qreal gap = apart ? 5.0 : 1.5;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    // plug: body with two pins, pointing right
    p.drawRoundedRect(QRectF(-16 - gap, -5.5, 10, 11), 2, 2);
    p.drawRect(QRectF(-6 - gap, -3.8, 5, 2.2));
    p.drawRect(QRectF(-6 - gap, 1.6, 5, 2.2));
    // socket body
    p.drawRoundedRect(QRectF(gap - 1, -5.5, 10, 11), 2, 2);
    // cables
    QPen cable(colour, 2.4, Qt::SolidLine, Qt::RoundCap);
    p.setPen(cable);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(-16 - gap, 0), QPointF(-22 - gap, 0));
    p.drawLine(QPointF(9 + gap, 0), QPointF(15 + gap, 0));
    p.restore();
    if (apart)
    {
        // spark marks between the halves
        p.save();
        p.translate(centre);
        QPen mark(colour, 1.3, Qt::SolidLine, Qt::RoundCap);
        p.setPen(mark);
        p.drawLine(QPointF(-9, -3), QPointF(-12.5, -6.5));
        p.drawLine(QPointF(9, 3), QPointF(12.5, 6.5));
        p.drawLine(QPointF(-3, -9), QPointF(-4.5, -13));
        p.drawLine(QPointF(3, 9), QPointF(4.5, 13));
        p.restore();
    }
}

void PaintConnectRow(QPainter& p, const QRectF& r, ButtonRow row, bool disconnect)
{
    const QColor accent = disconnect ? QColor(0xff, 0x55, 0x3c) : QColor(0x2c, 0xff, 0x5a);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(r.center().x(), r.center().y());
    constexpr qreal BEZEL = 36.5;
    constexpr qreal FACE = 30.0;

    // machined bezel ring
    QLinearGradient ring(c + QPointF(0, -BEZEL), c + QPointF(0, BEZEL));
    ring.setColorAt(0, QColor(0x5b, 0x66, 0x74));
    ring.setColorAt(0.5, QColor(0x2c, 0x33, 0x3d));
    ring.setColorAt(1, QColor(0x12, 0x16, 0x1c));
    p.setPen(QPen(QColor(0x06, 0x08, 0x0b), 1.0));
    p.setBrush(ring);
    p.drawEllipse(c, BEZEL, BEZEL);

    // glow channel between ring and face
    QColor channel = QColor(0x05, 0x07, 0x0a);
    if (row == ButtonRow::Hover || row == ButtonRow::Normal || row == ButtonRow::Pressed)
    {
        const qreal strength =
            row == ButtonRow::Hover ? 0.85 : (row == ButtonRow::Pressed ? 0.55 : 0.35);
        channel = Mix(channel, accent, strength);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(channel);
    p.drawEllipse(c, FACE + 3.0, FACE + 3.0);
    if (row == ButtonRow::Hover)
    {
        QRadialGradient halo(c, FACE + 6.0);
        QColor in = accent;
        in.setAlpha(0);
        QColor out = accent;
        out.setAlpha(110);
        halo.setColorAt(0.78, in);
        halo.setColorAt(0.9, out);
        halo.setColorAt(1.0, in);
        p.setBrush(halo);
        p.drawEllipse(c, FACE + 6.0, FACE + 6.0);
    }

    // the face itself
    QColor top(0x3a, 0x45, 0x54);
    QColor bottom(0x16, 0x1b, 0x22);
    if (row == ButtonRow::Disabled)
    {
        top = QColor(0x26, 0x2a, 0x30);
        bottom = QColor(0x1a, 0x1d, 0x21);
    }
    else if (row == ButtonRow::Hover)
    {
        top = QColor(0x4a, 0x58, 0x6b);
        bottom = QColor(0x1f, 0x26, 0x30);
    }
    else if (row == ButtonRow::Pressed)
    {
        std::swap(top, bottom);
        bottom = bottom.darker(115);
    }
    QLinearGradient face(c + QPointF(0, -FACE), c + QPointF(0, FACE));
    face.setColorAt(0, top);
    face.setColorAt(1, bottom);
    p.setBrush(face);
    p.setPen(QPen(row == ButtonRow::Pressed ? QColor(0, 0, 0, 180) : QColor(0x6c, 0x78, 0x88, 150),
                  1.0));
    p.drawEllipse(c, FACE, FACE);

    const QPointF shift = PressShift(row);
    const QColor symbol = row == ButtonRow::Disabled ? QColor(0x5c, 0x63, 0x6c)
                          : row == ButtonRow::Hover  ? accent.lighter(125)
                                                     : accent;
    if (row != ButtonRow::Disabled)
    {
        QRadialGradient glow(c + shift + QPointF(0, -4), 20);
        QColor g = accent;
        g.setAlpha(row == ButtonRow::Hover ? 80 : 45);
        glow.setColorAt(0, g);
        g.setAlpha(0);
        glow.setColorAt(1, g);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c + shift + QPointF(0, -4), 20, 20);
    }
    DrawPlug(p, c + shift + QPointF(0, -5), disconnect, symbol);

    const QString word = disconnect ? QStringLiteral("DISCONNECT") : QStringLiteral("CONNECT");
    QColor text = row == ButtonRow::Disabled ? QColor(0x55, 0x5b, 0x63) : QColor(0xd8, 0xe2, 0xec);
    DrawLabel(p, c + shift + QPointF(0, 16), word, ArtFont(disconnect ? 7.5 : 8.5, true), text,
              Qt::AlignHCenter | Qt::AlignVCenter);
}

void DrawArrow(QPainter& p, const QRectF& r, bool pointsRight, ButtonRow row)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(r.center() + PressShift(row));
    if (!pointsRight)
    {
        p.scale(-1, 1);
    }
    QPolygonF tri;
    tri << QPointF(-2.5, -4.5) << QPointF(3.5, 0) << QPointF(-2.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(GlyphColour(row, QColor(0x7c, 0xf4, 0xff)));
    p.drawPolygon(tri);
    p.restore();
}

ButtonLook PanelLook()
{
    ButtonLook look;
    look.Radius = 3.0;
    look.Base = QColor(0x2a, 0x36, 0x47);
    return look;
}

} // namespace

namespace ButtonArt
{

QImage TabButton(int scale)
{
    ButtonLook look;
    look.Radius = 4.0;
    look.Base = QColor(0x29, 0x33, 0x42);
    return BuildStrip(
        TAB_WIDTH, TAB_HEIGHT, SkinColour::CHASSIS, scale,
        [&](QPainter& p, const QRectF& r, ButtonRow row)
        {
            DrawButtonFace(p, r.adjusted(1, 1, -1, -1), row, look);
            // grip ridges at the right end, a finished touch that stays clear of
            // the centred caption
            p.setRenderHint(QPainter::Antialiasing, false);
            const QColor ridge =
                row == ButtonRow::Disabled ? QColor(0x2a, 0x2f, 0x36) : QColor(0x4d, 0x5b, 0x6e);
            const QPointF shift = PressShift(row);
            for (int i = 0; i < 3; ++i)
            {
                const qreal x = r.right() - 9 - i * 3 + shift.x();
                p.setPen(ridge);
                p.drawLine(QPointF(x, r.top() + 13 + shift.y()),
                           QPointF(x, r.bottom() - 13 + shift.y()));
            }
            // status notch at the left end, lit on hover and press
            QColor notch = row == ButtonRow::Hover      ? C(SkinColour::CYAN)
                           : row == ButtonRow::Pressed  ? C(SkinColour::CYAN).darker(140)
                           : row == ButtonRow::Disabled ? QColor(0x26, 0x2b, 0x31)
                                                        : QColor(0x3c, 0x4a, 0x5c);
            p.fillRect(QRectF(r.left() + 5, r.top() + 11 + shift.y(), 2, r.height() - 22), notch);
        });
}

QImage SystemButton(SystemGlyph glyph, int scale)
{
    ButtonLook look;
    look.Radius = 3.0;
    look.Base = QColor(0x26, 0x2f, 0x3b);
    if (glyph == SystemGlyph::Close)
    {
        look.Accent = QColor(0xff, 0x5a, 0x4a);
    }
    return BuildStrip(SYSTEM_WIDTH, SYSTEM_HEIGHT, SkinColour::HEADER, scale,
                      [&](QPainter& p, const QRectF& r, ButtonRow row)
                      {
                          DrawButtonFace(p, r, row, look);
                          DrawSystemGlyph(p, r, glyph, row);
                      });
}

QImage ConnectButton(bool disconnect, int scale)
{
    return BuildStrip(CONNECT_WIDTH, CONNECT_HEIGHT, SkinColour::CHASSIS, scale,
                      [&](QPainter& p, const QRectF& r, ButtonRow row)
                      { PaintConnectRow(p, r, row, disconnect); });
}

QImage CaptionButton(int width, int scale)
{
    const ButtonLook look = PanelLook();
    return BuildStrip(width, CAPTION_HEIGHT, SkinColour::PANEL, scale,
                      [&](QPainter& p, const QRectF& r, ButtonRow row)
                      { DrawButtonFace(p, r, row, look); });
}

QImage ArrowButton(bool pointsRight, int scale)
{
    const ButtonLook look = PanelLook();
    return BuildStrip(ARROW_WIDTH, CAPTION_HEIGHT, SkinColour::PANEL, scale,
                      [&](QPainter& p, const QRectF& r, ButtonRow row)
                      {
                          DrawButtonFace(p, r, row, look);
                          DrawArrow(p, r, pointsRight, row);
                      });
}

} // namespace ButtonArt
