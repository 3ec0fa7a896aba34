#include "resources/skingen/BoardArt.h"

#include "resources/skingen/PaintKit.h"
#include "resources/skingen/Palette.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

using namespace PaintKit;
using SkinColour::C;

namespace
{

constexpr qreal BOARD_RADIUS = 7;
constexpr qreal TRACE_WIDTH = 1.1;

// ---- basic marks ---------------------------------------------------------------------

QColor Silk(int alpha = 235)
{
    return C(SkinColour::SILK, alpha);
}

void SilkText(QPainter& p, const QPointF& at, const QString& text, qreal size,
              Qt::Alignment align = Qt::AlignHCenter | Qt::AlignTop, bool bold = true)
{
    DrawLabel(p, at, text, ArtFont(size, bold), Silk(), align);
}

void SilkTextTurned(QPainter& p, const QPointF& at, const QString& text, qreal size, qreal degrees)
{
    p.save();
    p.translate(at);
    p.rotate(degrees);
    DrawLabel(p, QPointF(0, 0), text, ArtFont(size, true), Silk(),
              Qt::AlignHCenter | Qt::AlignVCenter);
    p.restore();
}

// Silkscreen corner marks around a part.
void SilkCorners(QPainter& p, const QRectF& r, qreal arm = 3)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Silk(200), 1));
    const QPointF tl = r.topLeft();
    const QPointF tr = r.topRight();
    const QPointF bl = r.bottomLeft();
    const QPointF br = r.bottomRight();
    p.drawLine(tl, tl + QPointF(arm, 0));
    p.drawLine(tl, tl + QPointF(0, arm));
    p.drawLine(tr, tr + QPointF(-arm, 0));
    p.drawLine(tr, tr + QPointF(0, arm));
    p.drawLine(bl, bl + QPointF(arm, 0));
    p.drawLine(bl, bl + QPointF(0, -arm));
    p.drawLine(br, br + QPointF(-arm, 0));
    p.drawLine(br, br + QPointF(0, -arm));
    p.restore();
}

void Via(QPainter& p, const QPointF& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::PCB_TRACE_LIT));
    p.drawEllipse(c, 1.5, 1.5);
    p.setBrush(QColor(0x06, 0x18, 0x30));
    p.drawEllipse(c, 0.6, 0.6);
}

void Trace(QPainter& p, const QPainterPath& path, qreal width = TRACE_WIDTH)
{
    p.setPen(QPen(C(SkinColour::PCB_TRACE), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QPainterPath Poly(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points)
    {
        if (first)
        {
            path.moveTo(pt);
            first = false;
        }
        else
        {
            path.lineTo(pt);
        }
    }
    return path;
}

void Hole(QPainter& p, const QPointF& c)
{
    p.setPen(Qt::NoPen);
    QRadialGradient ring(c, 5.5);
    ring.setColorAt(0.5, C(SkinColour::GOLD));
    ring.setColorAt(1.0, C(SkinColour::GOLD_DARK));
    p.setBrush(ring);
    p.drawEllipse(c, 5.5, 5.5);
    p.setBrush(QColor(0x05, 0x06, 0x08));
    p.drawEllipse(c, 3.0, 3.0);
}

// A two-terminal chip part: body with metal ends.
void Passive(QPainter& p, const QPointF& c, bool horizontal,
             const QColor& body = QColor(0xb8, 0x9a, 0x6c))
{
    const QSizeF size = horizontal ? QSizeF(4.6, 2.4) : QSizeF(2.4, 4.6);
    const QRectF r(c.x() - size.width() / 2, c.y() - size.height() / 2, size.width(),
                   size.height());
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(r);
    p.setBrush(body);
    p.drawRect(horizontal ? r.adjusted(1.2, 0, -1.2, 0) : r.adjusted(0, 1.2, 0, -1.2));
}

void ChipBody(QPainter& p, const QRectF& r, qreal radius = 1.5)
{
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, QColor(0x32, 0x35, 0x3c));
    fill.setColorAt(1, QColor(0x16, 0x17, 0x1b));
    p.setPen(QPen(QColor(0x0a, 0x0b, 0x0d), 0.8));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 22), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius, radius);
}

void PinOneDot(QPainter& p, const QPointF& c, qreal r = 1.2)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x08, 0x09, 0x0b));
    p.drawEllipse(c, r, r);
}

void Marking(QPainter& p, const QPointF& c, const QString& text, qreal size, int alpha = 150)
{
    DrawLabel(p, c, text, ArtFont(size, true), QColor(0xc8, 0xcc, 0xd4, alpha),
              Qt::AlignHCenter | Qt::AlignVCenter);
}

// Quad flat package: pins on all four sides of body.
void Qfp(QPainter& p, const QRectF& body, int pinsPerSide, const QString& marking,
         qreal markSize = 4.5)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    const qreal pitchX = body.width() / (pinsPerSide + 1);
    const qreal pitchY = body.height() / (pinsPerSide + 1);
    for (int i = 1; i <= pinsPerSide; ++i)
    {
        const qreal x = body.left() + i * pitchX;
        const qreal y = body.top() + i * pitchY;
        p.drawRect(QRectF(x - 0.4, body.top() - 2.5, 0.8, 2.5));
        p.drawRect(QRectF(x - 0.4, body.bottom(), 0.8, 2.5));
        p.drawRect(QRectF(body.left() - 2.5, y - 0.4, 2.5, 0.8));
        p.drawRect(QRectF(body.right(), y - 0.4, 2.5, 0.8));
    }
    ChipBody(p, body, 1);
    PinOneDot(p, body.topLeft() + QPointF(2.5, 2.5), 0.9);
    Marking(p, body.center(), marking, markSize);
}

// Small-outline package with pins along its two long, horizontal sides.
void Tsop(QPainter& p, const QRectF& body, int pinsPerSide, qreal pinLength, const QString& marking,
          qreal markSize = 5)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    const qreal pitch = body.width() / pinsPerSide;
    for (int i = 0; i < pinsPerSide; ++i)
    {
        const qreal x = body.left() + (i + 0.5) * pitch;
        const qreal w = qMin(pitch * 0.55, 1.6);
        p.drawRect(QRectF(x - w / 2, body.top() - pinLength, w, pinLength));
        p.drawRect(QRectF(x - w / 2, body.bottom(), w, pinLength));
    }
    ChipBody(p, body, 1);
    PinOneDot(p, body.bottomLeft() + QPointF(2.2, -2.2), 0.9);
    Marking(p, body.center(), marking, markSize);
}

// ---- connectors and parts ------------------------------------------------------------

void MetalBox(QPainter& p, const QRectF& r, qreal radius = 1.5)
{
    QLinearGradient metal(r.topLeft(), r.bottomRight());
    metal.setColorAt(0, QColor(0xe4, 0xe8, 0xec));
    metal.setColorAt(0.45, QColor(0xb4, 0xbb, 0xc3));
    metal.setColorAt(1, QColor(0x72, 0x7a, 0x84));
    p.setPen(QPen(QColor(0x3c, 0x42, 0x4a), 0.8));
    p.setBrush(metal);
    p.drawRoundedRect(r, radius, radius);
}

void UsbB(QPainter& p, const QRectF& r)
{
    // solder tabs
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(r.left() - 2, r.bottom() - 8, 2.5, 5));
    p.drawRect(QRectF(r.right() - 0.5, r.bottom() - 8, 2.5, 5));
    MetalBox(p, r);
    // the opening faces off the board edge: seen as a dark mouth at the top
    p.setBrush(QColor(0x1a, 0x1c, 0x20));
    p.drawRect(QRectF(r.left() + 3, r.top(), r.width() - 6, 3));
    p.setPen(QPen(QColor(0x7a, 0x82, 0x8c), 0.8));
    for (int i = 0; i < 3; ++i)
    {
        const qreal y = r.top() + 7 + i * 4;
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
    }
}

void MiniUsb(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(r.left() - 2, r.top() + 4, 2.5, 4));
    p.drawRect(QRectF(r.right() - 0.5, r.top() + 4, 2.5, 4));
    for (int i = 0; i < 5; ++i)
    {
        p.drawRect(QRectF(r.left() + 4 + i * 2.4, r.bottom(), 1.0, 2.5));
    }
    MetalBox(p, r, 1);
    p.setBrush(QColor(0x16, 0x18, 0x1c));
    p.drawRect(QRectF(r.left() + 3, r.top(), r.width() - 6, 2));
    p.setPen(QPen(QColor(0x80, 0x88, 0x92), 0.8));
    p.drawLine(QPointF(r.left() + 3, r.center().y() + 1),
               QPointF(r.right() - 3, r.center().y() + 1));
}

void HdmiJack(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(r.left() - 2.5, r.top() + 5, 3, 6));
    p.drawRect(QRectF(r.right() - 0.5, r.top() + 5, 3, 6));
    for (int i = 0; i < 10; ++i)
    {
        p.drawRect(QRectF(r.left() + 4 + i * 2.6, r.bottom(), 1.1, 2.8));
    }
    MetalBox(p, r, 1.5);
    // the tapered mouth, facing off the board
    QPolygonF mouth;
    mouth << QPointF(r.left() + 3, r.top()) << QPointF(r.right() - 3, r.top())
          << QPointF(r.right() - 3, r.top() + 3) << QPointF(r.right() - 6, r.top() + 5.5)
          << QPointF(r.left() + 6, r.top() + 5.5) << QPointF(r.left() + 3, r.top() + 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x15, 0x18));
    p.drawPolygon(mouth);
    // stamped latches
    p.setBrush(QColor(0x88, 0x90, 0x9a));
    p.drawRect(QRectF(r.left() + 7, r.top() + 9, 5, 3));
    p.drawRect(QRectF(r.right() - 12, r.top() + 9, 5, 3));
}

void SdSlot(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    for (int i = 0; i < 9; ++i)
    {
        p.drawRect(QRectF(r.left() + 3 + i * 3.1, r.bottom(), 1.3, 2.5));
    }
    p.drawRect(QRectF(r.left() - 2, r.top() + 4, 2.5, 5));
    p.drawRect(QRectF(r.right() - 0.5, r.top() + 4, 2.5, 5));
    p.drawRect(QRectF(r.left() - 2, r.bottom() - 8, 2.5, 5));
    p.drawRect(QRectF(r.right() - 0.5, r.bottom() - 8, 2.5, 5));
    MetalBox(p, r, 1.2);
    // the card's entry at the top and a pressed-in panel with spring tabs
    p.setBrush(QColor(0x18, 0x1a, 0x1e));
    p.drawRect(QRectF(r.left() + 2, r.top(), r.width() - 4, 2.5));
    p.setPen(QPen(QColor(0x70, 0x78, 0x82), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(4, 6, -4, -5), 1, 1);
    p.drawLine(QPointF(r.center().x() - 5, r.top() + 12),
               QPointF(r.center().x() + 5, r.top() + 12));
    p.drawLine(QPointF(r.center().x() - 5, r.top() + 15),
               QPointF(r.center().x() + 5, r.top() + 15));
}

void HsmcConnector(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    for (qreal y = r.top() + 3; y < r.bottom() - 2; y += 2.0)
    {
        p.drawRect(QRectF(r.left() - 1.8, y, 1.8, 0.9));
        p.drawRect(QRectF(r.right(), y, 1.8, 0.9));
    }
    QLinearGradient shell(r.topLeft(), r.topRight());
    shell.setColorAt(0, QColor(0x3a, 0x3d, 0x44));
    shell.setColorAt(0.5, QColor(0x26, 0x28, 0x2d));
    shell.setColorAt(1, QColor(0x1a, 0x1b, 0x1f));
    p.setPen(QPen(QColor(0x08, 0x09, 0x0a), 0.8));
    p.setBrush(shell);
    p.drawRoundedRect(r, 1.5, 1.5);
    // the mating slot with its contact rows and a ground blade down the middle
    const QRectF slot = r.adjusted(3.5, 4, -3.5, -4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0c, 0x0d, 0x0f));
    p.drawRect(slot);
    p.setBrush(C(SkinColour::GOLD));
    for (qreal y = slot.top() + 1.5; y < slot.bottom() - 1; y += 2.0)
    {
        p.drawRect(QRectF(slot.left() + 0.5, y, 1.5, 0.9));
        p.drawRect(QRectF(slot.right() - 2.0, y, 1.5, 0.9));
    }
    p.setBrush(QColor(0x9a, 0xa2, 0xac));
    p.drawRect(QRectF(slot.center().x() - 0.6, slot.top() + 2, 1.2, slot.height() - 4));
    // polarising keys at the ends
    p.setBrush(QColor(0x46, 0x4a, 0x52));
    p.drawRect(QRectF(r.left() + 2, r.top() + 1, r.width() - 4, 2));
    p.drawRect(QRectF(r.left() + 2, r.bottom() - 3, r.width() - 4, 2));
}

void SevenSegmentModule(QPainter& p, const QRectF& r)
{
    QLinearGradient frame(r.topLeft(), r.bottomLeft());
    frame.setColorAt(0, QColor(0x4a, 0x4d, 0x54));
    frame.setColorAt(1, QColor(0x2a, 0x2c, 0x31));
    p.setPen(QPen(QColor(0x10, 0x11, 0x13), 0.8));
    p.setBrush(frame);
    p.drawRoundedRect(r, 1, 1);
    const qreal cell = (r.width() - 4) / BoardArt::DIGITS;
    const QColor off(0x5a, 0x1e, 0x1a);
    for (int d = 0; d < BoardArt::DIGITS; ++d)
    {
        const QRectF face(r.left() + 2 + d * cell + 0.5, r.top() + 2, cell - 1, r.height() - 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x12, 0x12, 0x14));
        p.drawRect(face);
        // segments: a slanted "8" in dark red, the display switched off
        const qreal l = face.left() + 4.2;
        const qreal rr = face.right() - 4.8;
        const qreal t = face.top() + 3;
        const qreal b = face.bottom() - 3;
        const qreal m = (t + b) / 2;
        const qreal lean = 0.9;
        QPen seg(off, 1.6, Qt::SolidLine, Qt::FlatCap);
        p.setPen(seg);
        p.drawLine(QPointF(l + 1 + lean, t), QPointF(rr - 0.5 + lean, t));
        p.drawLine(QPointF(l + 0.5 + lean / 2, m), QPointF(rr - 1 + lean / 2, m));
        p.drawLine(QPointF(l, b), QPointF(rr - 1.5, b));
        p.drawLine(QPointF(l + lean, t + 1), QPointF(l + lean / 2, m - 1));
        p.drawLine(QPointF(l + lean / 2, m + 1), QPointF(l, b - 1));
        p.drawLine(QPointF(rr + lean, t + 1), QPointF(rr + lean / 2, m - 1));
        p.drawLine(QPointF(rr + lean / 2, m + 1), QPointF(rr, b - 1));
        p.setPen(Qt::NoPen);
        p.setBrush(off);
        p.drawEllipse(QPointF(rr + 2.2, b), 0.9, 0.9);
    }
    // glass reflection
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 14));
    p.drawRect(QRectF(r.left() + 2, r.top() + 2, r.width() - 4, r.height() * 0.35));
}

void SmdLed(QPainter& p, const QPointF& c, bool green)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(c.x() - 3.5, c.y() - 2.5, 7, 5));
    const QColor lens = green ? QColor(0x8a, 0xd6, 0x9a) : QColor(0xe0, 0x8a, 0x80);
    QLinearGradient fill(QPointF(c.x(), c.y() - 2.5), QPointF(c.x(), c.y() + 2.5));
    fill.setColorAt(0, lens.lighter(120));
    fill.setColorAt(1, lens.darker(150));
    p.setBrush(fill);
    p.drawRect(QRectF(c.x() - 2.0, c.y() - 2.5, 4, 5));
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRect(QRectF(c.x() - 1.4, c.y() - 1.9, 1.2, 1.2));
}

void SlideSwitchPart(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(r.left() - 1, r.top() + 2, 1.5, 3));
    p.drawRect(QRectF(r.right() - 0.5, r.top() + 2, 1.5, 3));
    p.drawRect(QRectF(r.left() - 1, r.bottom() - 5, 1.5, 3));
    p.drawRect(QRectF(r.right() - 0.5, r.bottom() - 5, 1.5, 3));
    QLinearGradient body(r.topLeft(), r.topRight());
    body.setColorAt(0, QColor(0x34, 0x37, 0x3e));
    body.setColorAt(1, QColor(0x14, 0x15, 0x18));
    p.setPen(QPen(QColor(0x06, 0x06, 0x07), 0.8));
    p.setBrush(body);
    p.drawRoundedRect(r, 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x05, 0x05, 0x06));
    const QRectF slot = r.adjusted(3, 3, -3, -3);
    p.drawRect(slot);
    const QRectF knob(slot.left() - 0.5, slot.center().y() + 0.5, slot.width() + 1,
                      slot.height() / 2 - 0.5);
    QLinearGradient cap(knob.topLeft(), knob.topRight());
    cap.setColorAt(0, QColor(0xf0, 0xf2, 0xf4));
    cap.setColorAt(1, QColor(0x9a, 0xa0, 0xa8));
    p.setBrush(cap);
    p.drawRect(knob);
}

void TactSwitch(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(r.left() - 1.5, r.top() + 2, 2, 3.5));
    p.drawRect(QRectF(r.right() - 0.5, r.top() + 2, 2, 3.5));
    p.drawRect(QRectF(r.left() - 1.5, r.bottom() - 5.5, 2, 3.5));
    p.drawRect(QRectF(r.right() - 0.5, r.bottom() - 5.5, 2, 3.5));
    MetalBox(p, r, 1.5);
    const QPointF c = r.center();
    p.setBrush(QColor(0x20, 0x22, 0x26));
    p.drawEllipse(c, r.width() * 0.34, r.width() * 0.34);
    QRadialGradient cap(c + QPointF(-2, -2.5), r.width() * 0.42);
    cap.setColorAt(0, QColor(0x4a, 0x74, 0xb0));
    cap.setColorAt(0.6, QColor(0x1e, 0x3c, 0x6a));
    cap.setColorAt(1, QColor(0x0c, 0x1a, 0x30));
    p.setPen(QPen(QColor(0x05, 0x0a, 0x12), 0.8));
    p.setBrush(cap);
    p.drawEllipse(c, r.width() * 0.27, r.width() * 0.27);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(c + QPointF(-1.8, -2.2), 1.8, 1.2);
}

void DcJack(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(r.right() - 1, r.top() + 2, 3, 4));
    p.drawRect(QRectF(r.right() - 1, r.bottom() - 6, 3, 4));
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(0x34, 0x36, 0x3b));
    body.setColorAt(1, QColor(0x12, 0x13, 0x15));
    p.setPen(QPen(QColor(0x05, 0x05, 0x06), 0.8));
    p.setBrush(body);
    p.drawRoundedRect(r, 1.5, 1.5);
    // barrel, opening off the left edge
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x06, 0x06, 0x07));
    p.drawRect(QRectF(r.left(), r.center().y() - 4, 9, 8));
    p.setBrush(QColor(0xb0, 0xb6, 0xbe));
    p.drawRect(QRectF(r.left(), r.center().y() - 0.8, 8, 1.6));
}

void Electrolytic(QPainter& p, const QPointF& c, qreal r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x15, 0x18));
    p.drawRect(QRectF(c.x() - r - 0.8, c.y() - r - 0.8, 2 * r + 1.6, 2 * r + 1.6));
    QRadialGradient can(c + QPointF(-r * 0.35, -r * 0.35), r * 1.4);
    can.setColorAt(0, QColor(0xf0, 0xf2, 0xf4));
    can.setColorAt(1, QColor(0x80, 0x88, 0x92));
    p.setPen(QPen(QColor(0x40, 0x44, 0x4a), 0.8));
    p.setBrush(can);
    p.drawEllipse(c, r, r);
    // polarity band and vent cross
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1a, 0x2a, 0x50, 200));
    p.drawPie(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 200 * 16, 80 * 16);
    p.setPen(QPen(QColor(0x60, 0x66, 0x70), 0.7));
    p.drawLine(c + QPointF(-r * 0.5, 0), c + QPointF(r * 0.5, 0));
    p.drawLine(c + QPointF(0, -r * 0.5), c + QPointF(0, r * 0.5));
}

void Regulator(QPainter& p, const QRectF& body)
{
    // power package: a wide tab on one side, three legs on the other
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(body.left() + 1, body.top() - 3, body.width() - 2, 3.5));
    for (int i = 0; i < 3; ++i)
    {
        p.drawRect(
            QRectF(body.left() + 1.5 + i * (body.width() - 4) / 2.0, body.bottom() - 0.5, 1.4, 3));
    }
    ChipBody(p, body, 0.8);
}

void Oscillator(QPainter& p, const QRectF& r, const QString& marking)
{
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    p.drawRect(QRectF(r.left() - 1, r.top() + 1, r.width() + 2, 2));
    p.drawRect(QRectF(r.left() - 1, r.bottom() - 3, r.width() + 2, 2));
    MetalBox(p, r, 1.2);
    Marking(p, r.center(), marking, 4.5, 220);
}

void PinHeader(QPainter& p, const QRectF& r, int columns, int rows)
{
    p.setPen(QPen(Silk(200), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    const qreal pitchX = r.width() / columns;
    const qreal pitchY = r.height() / rows;
    for (int y = 0; y < rows; ++y)
    {
        for (int x = 0; x < columns; ++x)
        {
            const QPointF c(r.left() + (x + 0.5) * pitchX, r.top() + (y + 0.5) * pitchY);
            p.setPen(Qt::NoPen);
            p.setBrush(C(SkinColour::GOLD));
            if (x == 0 && y == 0)
            {
                p.drawRect(QRectF(c.x() - 1.6, c.y() - 1.6, 3.2, 3.2));
            }
            else
            {
                p.drawEllipse(c, 1.6, 1.6);
            }
            p.setBrush(QColor(0x0a, 0x0b, 0x0c));
            p.drawRect(QRectF(c.x() - 0.7, c.y() - 0.7, 1.4, 1.4));
        }
    }
}

// ---- the board -----------------------------------------------------------------------

void BoardShadowAndBase(QPainter& p)
{
    const QRectF edge(BoardArt::BOARD_EDGE);
    p.setPen(Qt::NoPen);
    for (int i = 8; i >= 1; --i)
    {
        p.setBrush(QColor(0, 0, 0, 16));
        p.drawRoundedRect(edge.translated(3, 5).adjusted(-i, -i, i, i), BOARD_RADIUS + i,
                          BOARD_RADIUS + i);
    }
    QLinearGradient mask(edge.topLeft(), edge.bottomRight());
    mask.setColorAt(0, C(SkinColour::PCB).lighter(112));
    mask.setColorAt(1, C(SkinColour::PCB).darker(112));
    p.setPen(QPen(QColor(0x04, 0x16, 0x30), 1));
    p.setBrush(mask);
    p.drawRoundedRect(edge.adjusted(0.5, 0.5, -0.5, -0.5), BOARD_RADIUS, BOARD_RADIUS);
    p.setPen(QPen(QColor(0x3a, 0x72, 0xb4, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(edge.adjusted(1.5, 1.5, -1.5, -1.5), BOARD_RADIUS - 1, BOARD_RADIUS - 1);
}

// Copper pours under the mask, a shade lighter, stitched with vias.
void GroundPours(QPainter& p)
{
    const QColor pour = C(SkinColour::PCB).lighter(106);
    p.setPen(Qt::NoPen);
    p.setBrush(pour);
    p.drawRoundedRect(QRectF(156, 104, 28, 92), 3, 3);
    p.drawRoundedRect(QRectF(334, 138, 96, 66), 3, 3);
    p.drawRoundedRect(QRectF(424, 50, 40, 48), 3, 3);
    for (qreal x = 162; x < 184; x += 8)
    {
        for (qreal y = 112; y < 196; y += 10)
        {
            Via(p, QPointF(x, y));
        }
    }
    for (qreal y = 56; y < 96; y += 8)
    {
        Via(p, QPointF(458, y));
    }
}

void Buses(QPainter& p)
{
    // FPGA to LPDDR2: a straight byte lane pair
    for (int k = 0; k < 9; ++k)
    {
        const qreal y = 104.5 + k * 2.6;
        Trace(p, Poly({{254, y}, {340, y}, {348, y}}));
    }
    // FPGA to SRAM top pins: nested bends so no two cross
    for (int k = 0; k < 7; ++k)
    {
        const qreal y = 130.5 + k * 2.6;
        const qreal x = 316 - k * 4.6;
        Trace(p, Poly({{254, y}, {x - 2, y}, {x, y + 2}, {x, 149}}));
    }
    // FPGA to the HDMI transmitter, and on to the connector
    for (int k = 0; k < 6; ++k)
    {
        const qreal y = 86.5 + k * 2.6;
        Trace(p, Poly({{254, y}, {300, y}, {306, y - 6}, {319, y - 6}}));
    }
    for (int k = 0; k < 4; ++k)
    {
        const qreal x = 330 - k * 3.2;
        Trace(p,
              Poly({{x, 65}, {x, 62.5 + k * 0.0}, {312 - k * 2.0 + 0, 62.5}, {312 - k * 2.0, 61}}),
              0.9);
    }
    for (int k = 0; k < 8; ++k)
    {
        const qreal x = 282 + k * 3.3;
        Trace(p, Poly({{x, 62}, {x, 66}}), 0.9);
    }
    // UART bridge to its USB jack and on to the FPGA
    for (int k = 0; k < 3; ++k)
    {
        const qreal x = 250.5 + k * 3;
        Trace(p, Poly({{x, 50}, {x, 54}}), 0.9);
    }
    for (int k = 0; k < 3; ++k)
    {
        const qreal x = 249 + k * 3.5;
        Trace(p, Poly({{x, 70}, {x, 76}, {x - 6, 82}}));
    }
    // JTAG USB to the FPGA
    for (int k = 0; k < 4; ++k)
    {
        const qreal x = 204 + k * 3.5;
        Trace(p, Poly({{x, 60}, {x, 70}, {x + 6, 76}, {x + 6, 82}}));
    }
    // SD card to the FPGA through vias
    for (int k = 0; k < 6; ++k)
    {
        const qreal x = 387 + k * 3.8;
        Trace(p, Poly({{x, 85}, {x, 92 + k * 1.4}}));
        Via(p, QPointF(x, 93 + k * 1.4));
    }
    // HSMC fan-in from vias on the inner layers
    for (int k = 0; k < 20; ++k)
    {
        const qreal y = 112 + k * 5.8;
        const qreal x0 = 412 + (k % 2) * 6;
        Trace(p, Poly({{x0, y}, {436, y}}), 0.9);
        Via(p, QPointF(x0, y));
    }
    // ADC inputs and SPI lines
    for (int k = 0; k < 6; ++k)
    {
        const qreal x = 297 + k * 7;
        Trace(p, Poly({{x, 216}, {x, 208}}), 0.9);
        Via(p, QPointF(x, 207));
    }
    // LED, switch and key lines up to vias
    for (int i = 0; i < 18; ++i)
    {
        const qreal x = 187 + i * 14.06;
        if (x > 252 && x < 290)
        {
            Trace(p, Poly({{x, 234}, {x, 226}}), 0.9);
            Via(p, QPointF(x, 225));
        }
    }
    // 7-segment lines
    for (int k = 0; k < 8; ++k)
    {
        const qreal x = 186 + k * 8;
        Trace(p, Poly({{x, 202}, {x, 194}}), 0.9);
        Via(p, QPointF(x, 193));
    }
}

void Decoupling(QPainter& p)
{
    // a ring of small capacitors around the FPGA and the memories
    for (int i = 0; i < 7; ++i)
    {
        Passive(p, QPointF(194 + i * 9, 77.5), true);
        Passive(p, QPointF(194 + i * 9, 153), true);
    }
    for (int i = 0; i < 6; ++i)
    {
        Passive(p, QPointF(183, 88 + i * 10), false);
    }
    for (int i = 0; i < 3; ++i)
    {
        Passive(p, QPointF(386, 106 + i * 9), false);
        Passive(p, QPointF(326 + i * 6.5, 180), false);
    }
    for (int i = 0; i < 4; ++i)
    {
        Passive(p, QPointF(348 + i * 7, 94), true, QColor(0x30, 0x30, 0x34));
    }
    for (int i = 0; i < 5; ++i)
    {
        Passive(p, QPointF(260 + i * 6, 196), false, QColor(0x30, 0x30, 0x34));
    }
}

void Components(QPainter& p)
{
    using namespace BoardArt;
    // power entry on the left edge
    DcJack(p, QRectF(145, 56, 24, 18));
    SilkText(p, QPointF(160, 76), QStringLiteral("12V DC"), 6);
    Regulator(p, QRectF(173, 58, 12, 8));
    Regulator(p, QRectF(158, 93, 11, 7));
    Electrolytic(p, QPointF(163, 120), 6.5);
    Electrolytic(p, QPointF(163, 140), 6.5);
    SilkText(p, QPointF(167, 150), QStringLiteral("PWR"), 6);
    // power switch and its lamp
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x15, 0x18));
    p.drawRoundedRect(QRectF(157, 162, 14, 12), 1.5, 1.5);
    p.setBrush(QColor(0xd0, 0x24, 0x20));
    p.drawRoundedRect(QRectF(159, 164, 10, 6), 1, 1);
    SilkText(p, QPointF(164, 176), QStringLiteral("ON"), 5.5);
    SmdLed(p, QPointF(164, 190), false);

    // JTAG programming jack on the top edge
    UsbB(p, QRectF(195, 36, 26, 23));
    SilkText(p, QPointF(208, 61), QStringLiteral("JTAG"), 6);

    // UART-to-USB: jack and bridge
    MiniUsb(p, QRectF(245, 38, 18, 12));
    Qfp(p, QRectF(248, 56, 12, 12), 4, QString(), 4);
    SilkCorners(p, QRectF(240, 37, 28, 33));
    SilkText(p, QPointF(254, 74), QStringLiteral("UART"), 5.5);

    // HDMI transmit jack and its transmitter chip
    HdmiJack(p, QRectF(278, 40, 32, 19));
    SilkText(p, QPointF(314, 42), QStringLiteral("HDMI"), 6, Qt::AlignLeft | Qt::AlignTop);
    Qfp(p, QRectF(322, 64, 18, 18), 6, QStringLiteral("TX"), 4.5);

    // the FPGA
    const QRectF fpga(188, 82, 66, 66);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0x4a, 0x36));
    p.drawRoundedRect(fpga, 2, 2); // substrate
    const QRectF lid = fpga.adjusted(3, 3, -3, -3);
    QLinearGradient die(lid.topLeft(), lid.bottomRight());
    die.setColorAt(0, QColor(0x3a, 0x3e, 0x46));
    die.setColorAt(0.5, QColor(0x22, 0x24, 0x29));
    die.setColorAt(1, QColor(0x14, 0x15, 0x18));
    p.setPen(QPen(QColor(0x08, 0x08, 0x0a), 0.8));
    p.setBrush(die);
    p.drawRoundedRect(lid, 2, 2);
    p.setPen(QPen(QColor(255, 255, 255, 26), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(lid.adjusted(2, 2, -2, -2), 1.5, 1.5);
    PinOneDot(p, lid.topLeft() + QPointF(5, 5), 2);
    Marking(p, lid.center() + QPointF(0, -8), QStringLiteral("HX9"), 13, 200);
    Marking(p, lid.center() + QPointF(0, 6), QStringLiteral("FPGA"), 6.5, 170);
    Marking(p, lid.center() + QPointF(0, 15), QStringLiteral("F672 C6N"), 5, 120);
    SilkCorners(p, fpga.adjusted(-2, -2, 2, 2), 5);

    Oscillator(p, QRectF(196, 158, 16, 10), QStringLiteral("50M"));
    PinHeader(p, QRectF(218, 158, 30, 12), 5, 2);
    SilkText(p, QPointF(233, 171), QStringLiteral("JP1"), 5);

    // memories
    const QRectF lpddr(LPDDR2.adjusted(1, 1, -1, -1));
    ChipBody(p, lpddr, 1.5);
    PinOneDot(p, lpddr.topLeft() + QPointF(3, 3), 1);
    Marking(p, lpddr.center() + QPointF(0, -3), QStringLiteral("4Gb"), 5, 190);
    Marking(p, lpddr.center() + QPointF(0, 5), QStringLiteral("x32"), 4.6, 140);
    SilkCorners(p, QRectF(LPDDR2).adjusted(-1, -1, 0, 0));
    SilkText(p, QPointF(366, 131.5), QStringLiteral("LPDDR2"), 5.5);

    Tsop(p, QRectF(283, 154.5, 37, 17), 16, 3.5, QStringLiteral("SRAM"), 6);
    SilkText(p, QPointF(301.5, 177), QStringLiteral("SRAM"), 5.5);

    SdSlot(p, QRectF(384, 52, 30, 29));
    SilkText(p, QPointF(399, 85), QStringLiteral("SD CARD"), 5.5);

    Tsop(p, QRectF(296, 220.5, 40, 6), 8, 3, QString());
    SilkText(p, QPointF(348, 220), QStringLiteral("ADC"), 6, Qt::AlignLeft | Qt::AlignTop);

    HsmcConnector(p, QRectF(440, 108, 13, 122));
    SilkTextTurned(p, QPointF(463, 169), QStringLiteral("HSMC"), 7, 90);

    // user inputs and outputs along the bottom edge
    SevenSegmentModule(p, QRectF(SEVEN_SEGMENT).adjusted(1, 1, -1, -1));
    for (int i = 0; i < RED_LEDS + GREEN_LEDS; ++i)
    {
        const qreal x =
            LED_ROW.left() + 7 + i * (LED_ROW.width() - 14) / (RED_LEDS + GREEN_LEDS - 1.0);
        SmdLed(p, QPointF(x, LED_ROW.center().y() + 0.5), i >= RED_LEDS);
    }
    const qreal swPitch = SLIDE_SWITCHES.width() / qreal(SWITCHES);
    for (int j = 0; j < SWITCHES; ++j)
    {
        const qreal x = SLIDE_SWITCHES.left() + j * swPitch + 2;
        SlideSwitchPart(
            p, QRectF(x, SLIDE_SWITCHES.top() + 1.5, swPitch - 4, SLIDE_SWITCHES.height() - 3));
    }
    const qreal keyPitch = PUSH_BUTTONS.width() / qreal(KEYS);
    for (int i = 0; i < KEYS; ++i)
    {
        const qreal x = PUSH_BUTTONS.left() + i * keyPitch + 3;
        TactSwitch(p, QRectF(x, PUSH_BUTTONS.top() + 2, keyPitch - 6, PUSH_BUTTONS.height() - 4));
    }
    // labels under the inputs, numbered from the right as on the panels
    for (int j = 0; j < SWITCHES; ++j)
    {
        const qreal x = SLIDE_SWITCHES.left() + (j + 0.5) * swPitch;
        SilkText(p, QPointF(x, 273.5), QString::number(SWITCHES - 1 - j), 5);
    }
    for (int i = 0; i < KEYS; ++i)
    {
        const qreal x = PUSH_BUTTONS.left() + (i + 0.5) * keyPitch;
        SilkText(p, QPointF(x, 272.5), QStringLiteral("KEY%1").arg(KEYS - 1 - i), 5);
    }
    SilkText(p, QPointF(172, 258), QStringLiteral("SW"), 5.5, Qt::AlignRight | Qt::AlignVCenter);
    SilkText(p, QPointF(178, 240.5), QStringLiteral("LED"), 5, Qt::AlignRight | Qt::AlignVCenter);
    SilkText(p, QPointF(178, 216), QStringLiteral("HEX"), 5.5, Qt::AlignRight | Qt::AlignVCenter);
}

void BoardName(QPainter& p)
{
    // the board's own silkscreen name in the open area beside the memories
    DrawLabel(p, QPointF(382, 152), QStringLiteral("HX9"), ArtFont(22, true), Silk(),
              Qt::AlignHCenter | Qt::AlignTop);
    DrawLabel(p, QPointF(382, 178), QStringLiteral("Velmora Starter Board"), ArtFont(6.5, true),
              Silk(220), Qt::AlignHCenter | Qt::AlignTop);
    p.save();
    p.setPen(QPen(Silk(190), 1));
    p.drawLine(QPointF(346, 188.5), QPointF(418, 188.5));
    p.restore();
    DrawLabel(p, QPointF(382, 191), QStringLiteral("REV C"), ArtFont(5, true), Silk(200),
              Qt::AlignHCenter | Qt::AlignTop);
}

} // namespace

namespace BoardArt
{

void Draw(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    BoardShadowAndBase(p);
    GroundPours(p);
    Buses(p);
    Decoupling(p);
    for (const QPointF& c :
         {QPointF(159, 51), QPointF(463, 51), QPointF(159, 271), QPointF(463, 271)})
    {
        Hole(p, c);
    }
    Components(p);
    BoardName(p);
    p.restore();
}

} // namespace BoardArt
