#include "resources/skingen/IndicatorArt.h"

#include "resources/skingen/PaintKit.h"
#include "resources/skingen/Palette.h"

#include <QPainter>
#include <QRadialGradient>

#include <array>

using namespace PaintKit;
using SkinColour::C;

namespace
{

struct LedHue
{
    QColor Lit;
    QColor Hot;
    QColor Dark;
};

LedHue HueOf(bool green)
{
    if (green)
    {
        return {QColor(0x2c, 0xff, 0x4c), QColor(0xd8, 0xff, 0xdc), QColor(0x12, 0x3a, 0x1c)};
    }
    return {QColor(0xff, 0x2a, 0x1e), QColor(0xff, 0xd8, 0xcc), QColor(0x44, 0x12, 0x10)};
}

QColor Grey(const QColor& c, qreal amount)
{
    const int g = qGray(c.rgb());
    return Mix(c, QColor(g, g, g), amount);
}

void DrawLed(QPainter& p, ButtonRow row, const LedHue& hue, bool lit)
{
    p.setRenderHint(QPainter::Antialiasing);
    const qreal dy = row == ButtonRow::Pressed ? 1.0 : 0.0;
    const qreal cx = IndicatorArt::LED_WIDTH / 2.0;
    const bool disabled = row == ButtonRow::Disabled;
    const bool shining = lit && !disabled;

    QColor body = lit ? hue.Lit : hue.Dark;
    if (disabled)
    {
        body = Grey(body, 0.65).darker(lit ? 190 : 120);
    }
    if (row == ButtonRow::Hover)
    {
        body = body.lighter(lit ? 110 : 135);
    }
    if (row == ButtonRow::Pressed)
    {
        body = body.darker(125);
    }

    // halo of a shining lamp
    if (shining)
    {
        QRadialGradient halo(QPointF(cx, 11 + dy), 13);
        QColor h = hue.Lit;
        h.setAlpha(row == ButtonRow::Hover ? 150 : 110);
        halo.setColorAt(0, h);
        h.setAlpha(0);
        halo.setColorAt(1, h);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QPointF(cx, 11 + dy), 13, 13);
    }
    else if (row == ButtonRow::Hover)
    {
        QRadialGradient halo(QPointF(cx, 11), 12);
        QColor h = C(SkinColour::CYAN);
        h.setAlpha(60);
        halo.setColorAt(0.6, h);
        h.setAlpha(0);
        halo.setColorAt(1, h);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QPointF(cx, 11), 12, 12);
    }

    // leads
    const QColor lead = disabled ? QColor(0x55, 0x5a, 0x60) : QColor(0xa8, 0xb0, 0xb8);
    p.setPen(QPen(lead, 1.2));
    p.drawLine(QPointF(cx - 3, 26 + dy), QPointF(cx - 3, 35));
    p.drawLine(QPointF(cx + 3, 25 + dy), QPointF(cx + 3, 35));

    // dome and body: one path, the flange below
    QPainterPath lamp;
    constexpr qreal R = 6.5;
    lamp.moveTo(cx - R, 11 + dy);
    lamp.arcTo(QRectF(cx - R, 4.5 + dy, 2 * R, 2 * R), 180, -180);
    lamp.lineTo(cx + R, 23 + dy);
    lamp.lineTo(cx - R, 23 + dy);
    lamp.closeSubpath();
    QLinearGradient side(QPointF(cx - R, 0), QPointF(cx + R, 0));
    side.setColorAt(0, body.darker(shining ? 115 : 140));
    side.setColorAt(0.35, shining ? Mix(body, hue.Hot, 0.35) : body.lighter(115));
    side.setColorAt(1, body.darker(shining ? 125 : 170));
    p.setPen(QPen(body.darker(lit ? 160 : 190), 0.8));
    p.setBrush(side);
    p.drawPath(lamp);
    p.setPen(QPen(body.darker(150), 0.8));
    p.setBrush(body.darker(lit ? 120 : 140));
    p.drawRoundedRect(QRectF(cx - R - 1.2, 22 + dy, 2 * R + 2.4, 3.2), 0.8, 0.8);

    // glowing die inside a shining lamp
    if (shining)
    {
        QRadialGradient die(QPointF(cx, 13 + dy), 6);
        die.setColorAt(0, hue.Hot);
        QColor edge = hue.Lit;
        edge.setAlpha(0);
        die.setColorAt(1, edge);
        p.setPen(Qt::NoPen);
        p.setBrush(die);
        p.drawEllipse(QPointF(cx, 13 + dy), 6, 6);
    }
    // specular highlight on the dome
    QColor spec(255, 255, 255, disabled ? 60 : (lit ? 200 : 140));
    p.setPen(Qt::NoPen);
    p.setBrush(spec);
    p.drawEllipse(QRectF(cx - 4.2, 7 + dy, 2.6, 4.2));
}

// Segment bits: a b c d e f g
constexpr std::array<uint8_t, 16> SEGMENTS = {
    0b1111110, 0b0110000, 0b1101101, 0b1111001, 0b0110011, 0b1011011, 0b1011111, 0b1110000,
    0b1111111, 0b1111011, 0b1110111, 0b0011111, 0b1001110, 0b0111101, 0b1001111, 0b1000111};

QPolygonF Bar(QPointF from, QPointF to, qreal thickness)
{
    const qreal h = thickness / 2;
    if (qFuzzyCompare(from.y(), to.y()))
    {
        return QPolygonF({from, QPointF(from.x() + h, from.y() - h),
                          QPointF(to.x() - h, to.y() - h), to, QPointF(to.x() - h, to.y() + h),
                          QPointF(from.x() + h, from.y() + h)});
    }
    return QPolygonF({from, QPointF(from.x() + h, from.y() + h), QPointF(to.x() + h, to.y() - h),
                      to, QPointF(to.x() - h, to.y() - h), QPointF(from.x() - h, from.y() + h)});
}

void DrawDigitSegments(QPainter& p, int value)
{
    constexpr qreal LEFT = 11;
    constexpr qreal RIGHT = 29;
    constexpr qreal TOP = 8;
    constexpr qreal MID = 28.5;
    constexpr qreal BOTTOM = 49;
    constexpr qreal T = 4.6;
    constexpr qreal GAP = 1.2;
    const std::array<QPolygonF, 7> bars = {Bar({LEFT + GAP, TOP}, {RIGHT - GAP, TOP}, T),       // a
                                           Bar({RIGHT, TOP + GAP}, {RIGHT, MID - GAP}, T),      // b
                                           Bar({RIGHT, MID + GAP}, {RIGHT, BOTTOM - GAP}, T),   // c
                                           Bar({LEFT + GAP, BOTTOM}, {RIGHT - GAP, BOTTOM}, T), // d
                                           Bar({LEFT, MID + GAP}, {LEFT, BOTTOM - GAP}, T),     // e
                                           Bar({LEFT, TOP + GAP}, {LEFT, MID - GAP}, T),        // f
                                           Bar({LEFT + GAP, MID}, {RIGHT - GAP, MID}, T)};      // g

    // a slight forward lean, as on the board's displays
    QTransform lean;
    lean.translate(0, MID);
    lean.shear(-0.09, 0);
    lean.translate(1.5, -MID);

    const uint8_t lit = SEGMENTS[static_cast<size_t>(value & 0xF)];
    const QColor off(0x3a, 0x17, 0x14);
    const QColor on(0xff, 0x2e, 0x1c);
    const QColor core(0xff, 0xa8, 0x90);
    for (int s = 0; s < 7; ++s)
    {
        const bool isLit = (lit >> (6 - s)) & 1;
        const QPolygonF shape = lean.map(bars[static_cast<size_t>(s)]);
        if (isLit)
        {
            // bloom first, then the segment, then a hot core line
            QColor bloom = on;
            bloom.setAlpha(70);
            p.setPen(QPen(bloom, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(bloom);
            p.drawPolygon(shape);
            p.setPen(Qt::NoPen);
            p.setBrush(on);
            p.drawPolygon(shape);
            QColor hot = core;
            hot.setAlpha(150);
            p.setPen(QPen(hot, 1.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(shape[0] + (shape[3] - shape[0]) * 0.2,
                       shape[0] + (shape[3] - shape[0]) * 0.8);
        }
        else
        {
            p.setPen(Qt::NoPen);
            p.setBrush(off);
            p.drawPolygon(shape);
        }
    }
    // decimal point, dark
    p.setPen(Qt::NoPen);
    p.setBrush(off);
    p.drawEllipse(lean.map(QPointF(RIGHT + 5.5, BOTTOM + 1)), 2.2, 2.2);
}

QImage KeyedCanvas(int w, int h, int scale)
{
    return NewCanvas(w, h, SkinColour::PANEL, scale);
}

} // namespace

namespace IndicatorArt
{

QImage LedButton(bool green, bool lit, int scale)
{
    const LedHue hue = HueOf(green);
    std::array<QImage, BUTTON_ROWS> rows;
    for (ButtonRow row : ALL_ROWS)
    {
        QImage image = NewCanvas(LED_WIDTH, LED_HEIGHT, SkinColour::PANEL, scale);
        QPainter p(&image);
        DrawLed(p, row, hue, lit);
        rows[static_cast<size_t>(row)] = image;
    }
    return StackRows(rows);
}

QImage HexDigit(int value, int scale)
{
    // painted over the panel colour so its rounded edge blends; outside is keyed away
    QImage image = KeyedCanvas(DIGIT_WIDTH, DIGIT_HEIGHT, scale);
    const QRectF body(0.5, 0.5, DIGIT_WIDTH - 1.0, DIGIT_HEIGHT - 1.0);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient face(body.topLeft(), body.bottomLeft());
        face.setColorAt(0, QColor(0x1c, 0x1c, 0x1f));
        face.setColorAt(1, QColor(0x0c, 0x0c, 0x0e));
        p.setPen(QPen(QColor(0x3a, 0x3d, 0x44), 1.0));
        p.setBrush(face);
        p.drawRoundedRect(body, 3, 3);
        p.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 2, 2);
        DrawDigitSegments(p, value);
    }
    KeyOutside(image, RoundRect(body.adjusted(-0.5, -0.5, 0.5, 0.5), 3), SkinColour::COLOUR_KEY);
    return image;
}

QImage SlideSwitch(bool down, int scale)
{
    QImage image = KeyedCanvas(SWITCH_WIDTH, SWITCH_HEIGHT, scale);
    const QRectF body(1.5, 0.5, SWITCH_WIDTH - 3.0, SWITCH_HEIGHT - 1.0);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient shell(body.topLeft(), body.topRight());
        shell.setColorAt(0, QColor(0x30, 0x34, 0x3b));
        shell.setColorAt(0.5, QColor(0x22, 0x25, 0x2b));
        shell.setColorAt(1, QColor(0x15, 0x17, 0x1b));
        p.setPen(QPen(QColor(0x4c, 0x52, 0x5c), 1.0));
        p.setBrush(shell);
        p.drawRoundedRect(body, 2, 2);

        const QRectF slot(6, 5, 7, SWITCH_HEIGHT - 10);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x06, 0x07, 0x09));
        p.drawRoundedRect(slot, 1.5, 1.5);

        constexpr qreal KNOB_HEIGHT = 23;
        const qreal knobTop = down ? slot.bottom() - KNOB_HEIGHT + 1 : slot.top() - 1;
        const QRectF knob(4, knobTop, 11, KNOB_HEIGHT);
        QLinearGradient cap(knob.topLeft(), knob.topRight());
        cap.setColorAt(0, QColor(0xf4, 0xf6, 0xf8));
        cap.setColorAt(0.6, QColor(0xc8, 0xcd, 0xd4));
        cap.setColorAt(1, QColor(0x8e, 0x95, 0x9e));
        p.setPen(QPen(QColor(0x40, 0x44, 0x4a), 0.8));
        p.setBrush(cap);
        p.drawRoundedRect(knob, 1.5, 1.5);
        p.setPen(QPen(QColor(0x70, 0x76, 0x80), 1.0));
        for (int i = 0; i < 5; ++i)
        {
            const qreal y = knob.top() + 6 + i * 2.6;
            p.drawLine(QPointF(knob.left() + 2.5, y), QPointF(knob.right() - 2.5, y));
        }
        // "on" mark beside the top end of the slot
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe8, 0xec, 0xf0, 170));
        p.drawEllipse(QPointF(SWITCH_WIDTH / 2.0, 2.6), 1.0, 1.0);
    }
    KeyOutside(image, RoundRect(body.adjusted(-0.5, -0.5, 0.5, 0.5), 2), SkinColour::COLOUR_KEY);
    return image;
}

QImage PushKey(bool down, int scale)
{
    QImage image = KeyedCanvas(KEY_SIZE, KEY_SIZE, scale);
    const QRectF housing(4.5, 4.5, KEY_SIZE - 9.0, KEY_SIZE - 9.0);
    QPainterPath outline = RoundRect(housing.adjusted(-0.5, -0.5, 0.5, 0.5), 3);
    outline.setFillRule(Qt::WindingFill); // the legs overlap the housing
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        // four solder legs at the corners
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xb8, 0xbe, 0xc6));
        const std::array<QRectF, 4> legs = {QRectF(1, 8, 5, 6), QRectF(KEY_SIZE - 6, 8, 5, 6),
                                            QRectF(1, KEY_SIZE - 14, 5, 6),
                                            QRectF(KEY_SIZE - 6, KEY_SIZE - 14, 5, 6)};
        for (const QRectF& leg : legs)
        {
            p.drawRoundedRect(leg, 1, 1);
            outline.addRect(leg);
        }

        QLinearGradient shell(housing.topLeft(), housing.bottomRight());
        shell.setColorAt(0, QColor(0xd0, 0xd5, 0xdb));
        shell.setColorAt(0.5, QColor(0x9a, 0xa1, 0xaa));
        shell.setColorAt(1, QColor(0x62, 0x69, 0x72));
        p.setPen(QPen(QColor(0x3a, 0x3e, 0x44), 1.0));
        p.setBrush(shell);
        p.drawRoundedRect(housing, 3, 3);
        // recess around the cap
        const QPointF c = housing.center();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x24, 0x27, 0x2c));
        p.drawEllipse(c, 12.5, 12.5);

        if (down)
        {
            QRadialGradient ring(c, 12.5);
            QColor cyan = C(SkinColour::CYAN);
            cyan.setAlpha(0);
            ring.setColorAt(0.78, cyan);
            cyan.setAlpha(200);
            ring.setColorAt(0.9, cyan);
            cyan.setAlpha(0);
            ring.setColorAt(1.0, cyan);
            p.setBrush(ring);
            p.drawEllipse(c, 12.5, 12.5);
        }

        const qreal radius = down ? 9.2 : 10.5;
        const QPointF capCentre = c + (down ? QPointF(0, 0.8) : QPointF(0, 0));
        QRadialGradient cap(capCentre + QPointF(-3, -4), radius * 1.6);
        if (down)
        {
            cap.setColorAt(0, QColor(0x22, 0x3a, 0x5e));
            cap.setColorAt(1, QColor(0x0a, 0x14, 0x22));
        }
        else
        {
            cap.setColorAt(0, QColor(0x4a, 0x74, 0xb0));
            cap.setColorAt(0.6, QColor(0x1e, 0x3c, 0x6a));
            cap.setColorAt(1, QColor(0x0c, 0x1a, 0x30));
        }
        p.setPen(QPen(QColor(0x05, 0x0a, 0x12), 1.0));
        p.setBrush(cap);
        p.drawEllipse(capCentre, radius, radius);
        if (!down)
        {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 70));
            p.drawEllipse(capCentre + QPointF(-3.5, -4.5), 3.5, 2.2);
        }
    }
    KeyOutside(image, outline, SkinColour::COLOUR_KEY);
    return image;
}

QImage InfoIcon(int scale)
{
    QImage image = NewCanvas(INFO_WIDTH, INFO_HEIGHT, SkinColour::INFO_STRIP, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(INFO_WIDTH / 2.0, INFO_HEIGHT / 2.0);
    QRadialGradient disc(c + QPointF(-2, -2), 8);
    disc.setColorAt(0, QColor(0x5a, 0xe4, 0xff));
    disc.setColorAt(1, QColor(0x00, 0x7c, 0xb0));
    p.setPen(QPen(QColor(0x00, 0x4a, 0x6c), 0.8));
    p.setBrush(disc);
    p.drawEllipse(c, 6.0, 6.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(c.x(), c.y() - 3.0), 1.1, 1.1);
    p.drawRoundedRect(QRectF(c.x() - 1.0, c.y() - 1.0, 2.0, 5.0), 0.5, 0.5);
    return image;
}

} // namespace IndicatorArt
