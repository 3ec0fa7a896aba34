#include "resources/skingen/IconArt.h"

#include "resources/skingen/PaintKit.h"
#include "resources/skingen/Palette.h"

#include <QLinearGradient>
#include <QPainter>

using namespace PaintKit;
using SkinColour::C;

namespace
{

// The picture is laid out on a 256-unit square; edges that must stay sharp are rounded to
// whole pixels at each size.
constexpr qreal DESIGN = 256.0;
constexpr qreal BOARD_MARGIN = 8;
constexpr qreal BOARD_RADIUS = 44;
constexpr qreal CHIP_SIDE = 120;
constexpr qreal CHIP_TOP = 56;
constexpr qreal PIN_LENGTH = 12;
constexpr qreal LED_SIDE = 22;

// Detail that still reads at a size.
constexpr int MIN_PINS_SIZE = 32;
constexpr int MIN_FINGERS_SIZE = 48;
constexpr int MIN_LABEL_SIZE = 48;
constexpr int MIN_TRACES_SIZE = 64;

struct TScale
{
    int Pixels;
    qreal Unit() const { return Pixels / DESIGN; }
    qreal operator()(qreal units) const { return units * Unit(); }
    // Whole pixels, for edges that blur when they fall between two.
    qreal Snap(qreal units) const { return qRound(units * Unit()); }
    QRectF SnapRect(qreal x, qreal y, qreal w, qreal h) const
    {
        const qreal left = Snap(x);
        const qreal top = Snap(y);
        return QRectF(left, top, qMax<qreal>(1, Snap(x + w) - left),
                      qMax<qreal>(1, Snap(y + h) - top));
    }
};

int PinsPerSide(int pixels)
{
    return pixels >= 128 ? 8 : pixels >= 64 ? 5 : 3;
}

// Fingers a whole pixel or more wide, evenly.
int FingerCount(int pixels)
{
    return pixels >= 64 ? 9 : 6;
}

QRectF ChipRect(const TScale& s)
{
    return s.SnapRect((DESIGN - CHIP_SIDE) / 2, CHIP_TOP, CHIP_SIDE, CHIP_SIDE);
}

void Board(QPainter& p, const TScale& s)
{
    const qreal margin = s.Pixels < MIN_PINS_SIZE ? 0 : s.Snap(BOARD_MARGIN);
    const QRectF r(margin, margin, s.Pixels - 2 * margin, s.Pixels - 2 * margin);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, C(SkinColour::PCB_TRACE));
    fill.setColorAt(0.35, C(SkinColour::PCB));
    fill.setColorAt(1, C(SkinColour::PCB_DARK));
    const qreal edge = qMax<qreal>(1, s(4));
    p.setPen(QPen(C(SkinColour::PCB_DARK), edge));
    p.setBrush(fill);
    p.drawPath(RoundRect(r.adjusted(edge / 2, edge / 2, -edge / 2, -edge / 2), s(BOARD_RADIUS)));
}

// Copper from the chip's pins out to vias near the board's edge.
void Traces(QPainter& p, const TScale& s)
{
    const QRectF chip = ChipRect(s);
    const QPointF centre = chip.center();
    p.setPen(QPen(C(SkinColour::PCB_TRACE_LIT), s(5), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const qreal reach = s(CHIP_SIDE / 2 + 34);
    for (int side = 0; side < 4; ++side)
    {
        for (int k = -1; k <= 1; k += 2)
        {
            const qreal along = k * s(30);
            const QPointF dir = side == 0   ? QPointF(-1, 0)
                                : side == 1 ? QPointF(1, 0)
                                : side == 2 ? QPointF(0, -1)
                                            : QPointF(0, 1);
            const QPointF across(dir.y(), dir.x());
            const QPointF from = centre + dir * s(CHIP_SIDE / 2) + across * along;
            const QPointF bend = centre + dir * reach + across * along;
            const QPointF to = bend + across * (k * s(18));
            p.drawPolyline(QPolygonF({from, bend, to}));
            p.save();
            p.setPen(Qt::NoPen);
            p.setBrush(C(SkinColour::GOLD));
            p.drawEllipse(to, s(8), s(8));
            p.setBrush(C(SkinColour::PCB_DARK));
            p.drawEllipse(to, s(3.5), s(3.5));
            p.restore();
        }
    }
}

void Pins(QPainter& p, const TScale& s)
{
    const QRectF chip = ChipRect(s);
    const int count = PinsPerSide(s.Pixels);
    const qreal pitch = chip.width() / count;
    const qreal width = qMax<qreal>(1, qRound(pitch / 2));
    const qreal length = qMax<qreal>(1, s.Snap(PIN_LENGTH));
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::SOLDER));
    for (int i = 0; i < count; ++i)
    {
        const qreal at = qRound(chip.left() + pitch * i + (pitch - width) / 2);
        const qreal down = qRound(chip.top() + pitch * i + (pitch - width) / 2);
        p.drawRect(QRectF(at, chip.top() - length, width, length));
        p.drawRect(QRectF(at, chip.bottom(), width, length));
        p.drawRect(QRectF(chip.left() - length, down, length, width));
        p.drawRect(QRectF(chip.right(), down, length, width));
    }
}

void Chip(QPainter& p, const TScale& s)
{
    const QRectF chip = ChipRect(s);
    QLinearGradient face(chip.topLeft(), chip.bottomRight());
    face.setColorAt(0, C(SkinColour::CHIP_EDGE));
    face.setColorAt(1, C(SkinColour::CHIP));
    p.setPen(s.Pixels < MIN_PINS_SIZE ? Qt::NoPen : QPen(C(SkinColour::CHIP_EDGE), s(3)));
    p.setBrush(face);
    p.drawRect(chip);
    if (s.Pixels < MIN_LABEL_SIZE)
        return;
    // Pin 1 mark and the board's name.
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::METAL_DARK));
    p.drawEllipse(chip.topLeft() + QPointF(s(16), s(16)), s(6), s(6));
    DrawLabel(p, chip.center(), QStringLiteral("HX9"), ArtFont(s(46), true), C(SkinColour::CYAN),
              Qt::AlignCenter);
}

// Edge connector fingers along the lower edge.
void Fingers(QPainter& p, const TScale& s)
{
    const qreal left = 52;
    const int count = FingerCount(s.Pixels);
    const qreal pitch = (DESIGN - 2 * left) / count;
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::GOLD));
    for (int i = 0; i < count; ++i)
        p.drawRect(s.SnapRect(left + i * pitch + pitch * 0.2, 212, pitch * 0.6, 24));
}

// A lit green lamp in the upper left corner, the board's power light.
void Lamp(QPainter& p, const TScale& s)
{
    const QRectF lamp = s.SnapRect(30, 26, LED_SIDE, LED_SIDE);
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::LIME));
    // Too small to be round, a lamp is a dot.
    if (s.Pixels < MIN_LABEL_SIZE)
    {
        p.drawRect(lamp);
        return;
    }
    p.drawEllipse(lamp);
    p.setBrush(C(SkinColour::LIME, 60));
    p.drawEllipse(lamp.center(), lamp.width(), lamp.height());
}

} // namespace

namespace IconArt
{

QImage Draw(int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const TScale s{pixels};
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Board(p, s);
    if (pixels >= MIN_TRACES_SIZE)
        Traces(p, s);
    if (pixels >= MIN_FINGERS_SIZE)
        Fingers(p, s);
    if (pixels >= MIN_PINS_SIZE)
        Pins(p, s);
    Chip(p, s);
    Lamp(p, s);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace IconArt
