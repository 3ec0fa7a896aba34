#include "resources/skingen/WelcomeClip.h"

#include "resources/skingen/PaintKit.h"
#include "resources/skingen/Palette.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

using namespace PaintKit;
using SkinColour::C;

namespace
{

using namespace WelcomeClip;

constexpr qreal TAU = 6.283185307179586;
const QPointF CENTRE(WIDTH / 2.0, 112);
constexpr qreal CHIP_HALF = 46;
constexpr int LANES_PER_SIDE = 5;
constexpr qreal LANE_PITCH = 14;

struct Lane
{
    QPainterPath Path; // from the outer end into the chip's edge
    qreal Phase;       // where along the loop its pulse starts, 0 to 1
};

// Traces leave each side of the chip, bend once and run to the picture's edge.
std::vector<Lane> Lanes()
{
    std::vector<Lane> lanes;
    for (int side = 0; side < 4; ++side)
    {
        QTransform turn;
        turn.translate(CENTRE.x(), CENTRE.y());
        turn.rotate(side * 90.0);
        // sides 0 and 2 run left and right, 3 up, 1 down towards the titles
        const qreal reach = side % 2 == 0 ? 200 : (side == 1 ? 72 : 150);
        for (int i = 0; i < LANES_PER_SIDE; ++i)
        {
            const qreal offset = (i - (LANES_PER_SIDE - 1) / 2.0) * LANE_PITCH;
            const qreal spread = offset * 0.9;
            const qreal bend = CHIP_HALF + 30 + std::abs(offset) * 0.5;
            QPainterPath local;
            if (reach > bend)
            {
                // fan out after a bend
                local.moveTo(reach, offset + spread);
                local.lineTo(bend, offset + spread);
                local.lineTo(bend - std::abs(spread), offset);
            }
            else
            {
                local.moveTo(reach, offset);
            }
            local.lineTo(CHIP_HALF + 2, offset);
            // golden-ratio phases spread the pulses evenly and never in step
            const qreal phase = std::fmod((side * LANES_PER_SIDE + i) * 0.618034, 1.0);
            lanes.push_back({turn.map(local), phase});
        }
    }
    return lanes;
}

void Background(QPainter& p)
{
    QLinearGradient sky(QPointF(0, 0), QPointF(0, HEIGHT));
    sky.setColorAt(0, QColor(0x07, 0x16, 0x2a));
    sky.setColorAt(1, QColor(0x04, 0x08, 0x10));
    p.fillRect(QRectF(0, 0, WIDTH, HEIGHT), sky);
    QRadialGradient bloom(CENTRE, 190);
    bloom.setColorAt(0, QColor(0x00, 0x7a, 0xb0, 80));
    bloom.setColorAt(1, QColor(0x00, 0x7a, 0xb0, 0));
    p.fillRect(QRectF(0, 0, WIDTH, HEIGHT), bloom);
    // faint board grid
    p.setPen(QColor(255, 255, 255, 8));
    for (int x = 3; x < WIDTH; x += 16)
    {
        p.drawLine(x, 0, x, HEIGHT);
    }
    for (int y = 8; y < HEIGHT; y += 16)
    {
        p.drawLine(0, y, WIDTH, y);
    }
}

void DrawLanes(QPainter& p, const std::vector<Lane>& lanes, qreal t)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x13, 0x3e, 0x66), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Lane& lane : lanes)
    {
        p.drawPath(lane.Path);
    }
    for (const Lane& lane : lanes)
    {
        const qreal s = std::fmod(t + lane.Phase, 1.0);
        // a pulse with a fading tail, running towards the chip
        constexpr int TAIL = 7;
        for (int k = TAIL; k >= 0; --k)
        {
            const qreal at = s - k * 0.012;
            if (at < 0)
            {
                continue;
            }
            const QPointF pt = lane.Path.pointAtPercent(at);
            const int alpha = 230 - k * 30;
            const qreal r = k == 0 ? 3.2 : 1.6;
            QRadialGradient dot(pt, r * 2);
            dot.setColorAt(0, QColor(0x9c, 0xf4, 0xff, alpha));
            dot.setColorAt(1, QColor(0x00, 0xc8, 0xff, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(dot);
            p.drawEllipse(pt, r * 2, r * 2);
        }
    }
    // pads at the outer ends
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1c, 0x5a, 0x8c));
    for (const Lane& lane : lanes)
    {
        p.drawEllipse(lane.Path.pointAtPercent(0), 2.4, 2.4);
    }
}

void DrawChip(QPainter& p, qreal t)
{
    const QRectF chip(CENTRE.x() - CHIP_HALF, CENTRE.y() - CHIP_HALF, 2 * CHIP_HALF, 2 * CHIP_HALF);
    // breathing glow around the package
    const qreal breath = 0.5 + 0.5 * std::cos(TAU * t);
    for (int i = 6; i >= 1; --i)
    {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x00, 0xd0, 0xff, static_cast<int>((10 + 14 * breath) / i)));
        p.drawRoundedRect(chip.adjusted(-i * 2, -i * 2, i * 2, i * 2), 8 + i * 2, 8 + i * 2);
    }
    QLinearGradient body(chip.topLeft(), chip.bottomRight());
    body.setColorAt(0, QColor(0x33, 0x3a, 0x46));
    body.setColorAt(1, QColor(0x0e, 0x11, 0x16));
    p.setPen(QPen(QColor(0x00, 0xd8, 0xf8), 1.6));
    p.setBrush(body);
    p.drawRoundedRect(chip, 7, 7);
    p.setPen(QPen(QColor(255, 255, 255, 24), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(chip.adjusted(6, 6, -6, -6), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x07, 0x08, 0x0a));
    p.drawEllipse(chip.topLeft() + QPointF(12, 12), 3.2, 3.2);

    // the name, then a sheen that crosses the package once per loop
    QFont font = ArtFont(40, true);
    QPainterPath name;
    name.addText(QPointF(0, 0), font, QStringLiteral("HX9"));
    const QRectF box = name.boundingRect();
    name.translate(CENTRE.x() - box.center().x(), CENTRE.y() - 4 - box.center().y());
    p.setBrush(QColor(0xf2, 0xf8, 0xff));
    p.drawPath(name);
    DrawLabel(p, CENTRE + QPointF(0, 25), QStringLiteral("FPGA"), ArtFont(9, true),
              QColor(0x7c, 0xe8, 0xff), Qt::AlignHCenter | Qt::AlignVCenter);

    const qreal x = chip.left() - 60 + t * (chip.width() + 160);
    QLinearGradient sheen(QPointF(x - 22, 0), QPointF(x + 22, 0));
    sheen.setColorAt(0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 52));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.save();
    p.setClipPath(RoundRect(chip, 7));
    QTransform slant;
    slant.translate(x, CENTRE.y());
    slant.shear(-0.45, 0);
    slant.translate(-x, -CENTRE.y());
    p.setTransform(slant, true);
    p.fillRect(QRectF(x - 22, chip.top() - 10, 44, chip.height() + 20), sheen);
    p.restore();
}

void Titles(QPainter& p)
{
    DrawLabel(p, QPointF(WIDTH / 2.0, 196), QStringLiteral("Velmora Starter Board"),
              ArtFont(17, true), QColor(0xe6, 0xee, 0xf6), Qt::AlignHCenter | Qt::AlignTop);
    DrawLabel(p, QPointF(WIDTH / 2.0, 220), QStringLiteral("HX9  CONTROL  PANEL"),
              ArtFont(10, true), C(SkinColour::CYAN), Qt::AlignHCenter | Qt::AlignTop);
}

// A soft scan line rolling down the picture, wrapping round with the loop.
void ScanLine(QPainter& p, qreal t)
{
    const qreal span = HEIGHT - INFO_STRIP_HEIGHT;
    const qreal y = t * span;
    for (qreal yy : {y, y - span})
    {
        QLinearGradient band(QPointF(0, yy - 14), QPointF(0, yy + 2));
        band.setColorAt(0, QColor(0x40, 0xd8, 0xff, 0));
        band.setColorAt(0.9, QColor(0x40, 0xd8, 0xff, 26));
        band.setColorAt(1, QColor(0x40, 0xd8, 0xff, 0));
        p.fillRect(QRectF(0, yy - 14, WIDTH, 16), band);
    }
}

void InfoStrip(QPainter& p)
{
    const QRectF strip(0, HEIGHT - INFO_STRIP_HEIGHT, WIDTH, INFO_STRIP_HEIGHT);
    p.fillRect(strip, C(SkinColour::INFO_STRIP));
    p.fillRect(QRectF(0, strip.top(), WIDTH, 1), QColor(0x22, 0x2a, 0x36));
}

} // namespace

namespace WelcomeClip
{

QImage Frame(int index, int scale)
{
    const qreal t = static_cast<qreal>(index % FRAMES) / FRAMES;
    QImage image = NewCanvas(WIDTH, HEIGHT, SkinColour::INFO_STRIP, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setClipRect(QRectF(0, 0, WIDTH, HEIGHT - INFO_STRIP_HEIGHT));
    Background(p);
    DrawLanes(p, Lanes(), t);
    DrawChip(p, t);
    Titles(p);
    ScanLine(p, t);
    p.setClipping(false);
    InfoStrip(p);
    return image;
}

std::vector<QImage> Frames(int scale)
{
    std::vector<QImage> frames;
    frames.reserve(FRAMES);
    for (int i = 0; i < FRAMES; ++i)
    {
        frames.push_back(Frame(i, scale));
    }
    return frames;
}

} // namespace WelcomeClip
