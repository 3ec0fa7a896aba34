#include "resources/skingen/PanelArt.h"

#include "resources/skingen/PaintKit.h"
#include "resources/skingen/Palette.h"

#include <QPainter>
#include <QRadialGradient>

using namespace PaintKit;
using SkinColour::C;

namespace
{

using PanelArt::PANEL_CLIENT_HEIGHT;
using PanelArt::PANEL_HEIGHT;
using PanelArt::PANEL_WIDTH;

constexpr qreal BAND_HEIGHT = 20;

void CornerBrackets(QPainter& p, const QRectF& r, qreal arm, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(colour, 1));
    const qreal l = r.left();
    const qreal t = r.top();
    const qreal rr = r.right();
    const qreal b = r.bottom();
    p.drawLine(QPointF(l, t), QPointF(l + arm, t));
    p.drawLine(QPointF(l, t), QPointF(l, t + arm));
    p.drawLine(QPointF(rr, t), QPointF(rr - arm, t));
    p.drawLine(QPointF(rr, t), QPointF(rr, t + arm));
    p.drawLine(QPointF(l, b), QPointF(l + arm, b));
    p.drawLine(QPointF(l, b), QPointF(l, b - arm));
    p.drawLine(QPointF(rr, b), QPointF(rr - arm, b));
    p.drawLine(QPointF(rr, b), QPointF(rr, b - arm));
    p.restore();
}

// The flat panel with its frame; the rows under the client area match the info strip.
QImage PanelCanvas(int scale)
{
    QImage image = NewCanvas(PANEL_WIDTH, PANEL_HEIGHT, SkinColour::PANEL, scale);
    QPainter p(&image);
    p.fillRect(0, PANEL_CLIENT_HEIGHT, PANEL_WIDTH, PANEL_HEIGHT - PANEL_CLIENT_HEIGHT,
               C(SkinColour::INFO_STRIP));
    p.setPen(C(SkinColour::PANEL_LINE));
    p.drawRect(0, 0, PANEL_WIDTH - 1, PANEL_CLIENT_HEIGHT - 1);
    p.setPen(C(SkinColour::PANEL_LINE_DIM));
    p.drawRect(1, 1, PANEL_WIDTH - 3, PANEL_CLIENT_HEIGHT - 3);
    CornerBrackets(p, QRectF(3, 3, PANEL_WIDTH - 7, PANEL_CLIENT_HEIGHT - 7), 9,
                   C(SkinColour::CYAN, 110));
    return image;
}

// A title band: the title text goes at the band's left, after the cyan tick.
void Band(QPainter& p, const QRectF& r, bool mark = false)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, C(SkinColour::PANEL_BAND).lighter(112));
    fill.setColorAt(1, C(SkinColour::PANEL_BAND));
    p.setPen(QPen(C(SkinColour::PANEL_LINE), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::CYAN));
    p.drawRoundedRect(QRectF(r.left() + 3, r.top() + 4, 2.5, r.height() - 8), 1, 1);
    if (mark)
    {
        // three small status dots at the right end
        for (int i = 0; i < 3; ++i)
        {
            p.setBrush(i == 0 ? C(SkinColour::CYAN, 170) : QColor(0x3a, 0x48, 0x5a));
            p.drawEllipse(QPointF(r.right() - 10 - i * 7, r.center().y()), 1.8, 1.8);
        }
    }
    p.restore();
}

// The heading of a panel with one title at (24, 24): a cyan tick, a rule under the title
// and status dots at the right. Reads as finished with or without a title over it.
void TitleRule(QPainter& p)
{
    constexpr qreal TOP = 20;
    constexpr qreal RULE_Y = 44.5;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::CYAN));
    p.drawRoundedRect(QRectF(14, TOP + 4, 3, 15), 1, 1);
    QLinearGradient rule(QPointF(14, 0), QPointF(PANEL_WIDTH - 14, 0));
    rule.setColorAt(0, C(SkinColour::CYAN, 150));
    rule.setColorAt(0.45, C(SkinColour::PANEL_LINE));
    rule.setColorAt(1, C(SkinColour::PANEL_LINE, 60));
    p.fillRect(QRectF(14, RULE_Y, PANEL_WIDTH - 28, 1), rule);
    p.fillRect(QRectF(14, RULE_Y + 1, PANEL_WIDTH - 28, 1), QColor(0, 0, 0, 90));
    for (int i = 0; i < 3; ++i)
    {
        p.setBrush(i == 0 ? C(SkinColour::CYAN, 170) : QColor(0x3a, 0x48, 0x5a));
        p.drawEllipse(QPointF(PANEL_WIDTH - 22 - i * 7, TOP + 11.5), 1.8, 1.8);
    }
    p.restore();
}

// A framed section whose first BAND_HEIGHT rows are its title band.
void Section(QPainter& p, const QRectF& r, qreal bandHeight = BAND_HEIGHT)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(C(SkinColour::PANEL_LINE_DIM).lighter(115), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.restore();
    Band(p, QRectF(r.left(), r.top(), r.width(), bandHeight));
}

void SdCardPicture(QPainter& p, const QRectF& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal notch = r.width() * 0.28;
    QPainterPath card;
    card.moveTo(r.left() + notch, r.top());
    card.lineTo(r.right() - 2, r.top());
    card.quadTo(r.right(), r.top(), r.right(), r.top() + 2);
    card.lineTo(r.right(), r.bottom() - 2);
    card.quadTo(r.right(), r.bottom(), r.right() - 2, r.bottom());
    card.lineTo(r.left() + 2, r.bottom());
    card.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - 2);
    card.lineTo(r.left(), r.top() + notch);
    card.closeSubpath();
    QLinearGradient body(r.topLeft(), r.bottomRight());
    body.setColorAt(0, QColor(0x33, 0x3b, 0x47));
    body.setColorAt(1, QColor(0x1a, 0x1f, 0x27));
    p.setPen(QPen(QColor(0x5a, 0x66, 0x76), 1));
    p.setBrush(body);
    p.drawPath(card);
    // gold contacts along the top edge
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::GOLD));
    const qreal pitch = (r.width() - notch - 6) / 8.0;
    for (int i = 0; i < 8; ++i)
    {
        p.drawRect(QRectF(r.left() + notch + 2 + i * pitch, r.top() + 3, pitch * 0.6, 8));
    }
    // label area
    QRectF label(r.left() + 5, r.top() + r.height() * 0.42, r.width() - 10, r.height() * 0.44);
    p.setBrush(QColor(0x0c, 0x4a, 0x8a));
    p.drawRoundedRect(label, 2, 2);
    DrawLabel(p, label.center() + QPointF(0, -3), QStringLiteral("SD"), ArtFont(14, true),
              QColor(0xee, 0xf4, 0xfa), Qt::AlignHCenter | Qt::AlignVCenter);
    DrawLabel(p, label.center() + QPointF(0, 9), QStringLiteral("MEMORY CARD"), ArtFont(5.5, true),
              QColor(0xc0, 0xd4, 0xe8), Qt::AlignHCenter | Qt::AlignVCenter);
    // write-protect slider on the left edge
    p.setBrush(QColor(0xd8, 0xdc, 0xe0));
    p.drawRect(QRectF(r.left() - 1.5, r.top() + r.height() * 0.45, 3, 7));
    p.restore();
}

void ChipPicture(QPainter& p, const QRectF& body, int pinsPerSide, const QString& marking)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa8, 0xb0, 0xba));
    const qreal pitch = body.height() / (pinsPerSide + 1);
    for (int i = 1; i <= pinsPerSide; ++i)
    {
        const qreal y = body.top() + i * pitch;
        p.drawRect(QRectF(body.left() - 6, y - 1.2, 6, 2.4));
        p.drawRect(QRectF(body.right(), y - 1.2, 6, 2.4));
    }
    QLinearGradient fill(body.topLeft(), body.bottomRight());
    fill.setColorAt(0, QColor(0x2e, 0x32, 0x3a));
    fill.setColorAt(1, QColor(0x14, 0x16, 0x1a));
    p.setPen(QPen(QColor(0x4a, 0x50, 0x5a), 1));
    p.setBrush(fill);
    p.drawRoundedRect(body, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0a, 0x0b, 0x0d));
    p.drawEllipse(body.topLeft() + QPointF(6, 6), 2.2, 2.2);
    DrawLabel(p, body.center(), marking, ArtFont(11, true), QColor(0x9a, 0xa4, 0xb0),
              Qt::AlignHCenter | Qt::AlignVCenter);
    p.restore();
}

void HsmcPicture(QPainter& p, const QRectF& area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // a strip of board with the connector standing on it
    const QRectF pcb(area.left(), area.top(), area.width(), area.height());
    QLinearGradient board(pcb.topLeft(), pcb.topRight());
    board.setColorAt(0, C(SkinColour::PCB_DARK));
    board.setColorAt(1, C(SkinColour::PCB));
    p.setPen(QPen(QColor(0x2a, 0x5a, 0x96), 1));
    p.setBrush(board);
    p.drawRoundedRect(pcb.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    const QRectF connector(pcb.left() + 10, pcb.top() + 14, 20, pcb.height() - 28);
    p.setPen(QPen(QColor(0x0a, 0x0b, 0x0d), 1));
    p.setBrush(QColor(0x2a, 0x2c, 0x30));
    p.drawRoundedRect(connector, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x12, 0x13, 0x15));
    p.drawRect(connector.adjusted(5, 4, -5, -4));
    p.setBrush(C(SkinColour::GOLD));
    for (qreal y = connector.top() + 6; y < connector.bottom() - 5; y += 3.2)
    {
        p.drawRect(QRectF(connector.left() + 2, y, 2, 1.4));
        p.drawRect(QRectF(connector.right() - 4, y, 2, 1.4));
    }

    // the loopback adapter, plugged in beside it
    const QRectF adapter(connector.right() + 8, connector.top() + 8,
                         pcb.right() - connector.right() - 16, connector.height() - 16);
    p.setPen(QPen(QColor(0x0e, 0x4a, 0x24), 1));
    p.setBrush(QColor(0x16, 0x6a, 0x36));
    p.drawRoundedRect(adapter, 2, 2);
    QPen loop(C(SkinColour::GOLD), 1.2);
    p.setPen(loop);
    p.setBrush(Qt::NoBrush);
    for (qreal y = adapter.top() + 10; y < adapter.bottom() - 8; y += 9)
    {
        QPainterPath u;
        u.moveTo(adapter.left() + 3, y);
        u.lineTo(adapter.right() - 7, y);
        u.arcTo(QRectF(adapter.right() - 10, y, 6, 4), 90, -180);
        u.lineTo(adapter.left() + 3, y + 4);
        p.drawPath(u);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe6, 0xed, 0xf5));
    DrawLabel(p, QPointF(pcb.center().x(), pcb.top() + 3), QStringLiteral("HSMC"), ArtFont(8, true),
              C(SkinColour::SILK), Qt::AlignHCenter | Qt::AlignTop);
    DrawLabel(p, QPointF(adapter.center().x(), pcb.bottom() - 12), QStringLiteral("LOOPBACK"),
              ArtFont(6.5, true), C(SkinColour::SILK), Qt::AlignHCenter | Qt::AlignTop);
    p.restore();
}

} // namespace

namespace PanelArt
{

QImage TabDialog(int scale)
{
    QImage image = PanelCanvas(scale);
    QPainter p(&image);
    TitleRule(p);
    return image;
}

QImage KeysSwitches(int scale)
{
    QImage image = PanelCanvas(scale);
    QPainter p(&image);
    Section(p, QRectF(10, 19, PANEL_WIDTH - 20, 100), 26);
    Section(p, QRectF(10, 159, PANEL_WIDTH - 20, 112), 26);
    return image;
}

QImage Memory(int scale)
{
    QImage image = PanelCanvas(scale);
    QPainter p(&image);
    Band(p, QRectF(8, 6, PANEL_WIDTH - 16, 30), true);
    Section(p, QRectF(8, 42, PANEL_WIDTH - 16, 70));
    Section(p, QRectF(8, 116, PANEL_WIDTH - 16, 70));
    Section(p, QRectF(8, 190, PANEL_WIDTH - 16, 70));
    return image;
}

QImage SdCard(int scale)
{
    QImage image = PanelCanvas(scale);
    QPainter p(&image);
    Section(p, QRectF(20, 4, 302, 106), 20);
    Section(p, QRectF(20, 112, 302, 110), 20);
    Section(p, QRectF(20, 220, 222, 50), 18);
    SdCardPicture(p, QRectF(333, 28, 38, 50));
    return image;
}

QImage Adc(int scale)
{
    QImage image = PanelCanvas(scale);
    QPainter p(&image);
    TitleRule(p);
    p.setRenderHint(QPainter::Antialiasing);
    // read-out screen behind the channel values
    const QRectF bezel(76, 84, 218, 184);
    QLinearGradient rim(bezel.topLeft(), bezel.bottomLeft());
    rim.setColorAt(0, QColor(0x3a, 0x44, 0x52));
    rim.setColorAt(1, QColor(0x1a, 0x20, 0x28));
    p.setPen(QPen(QColor(0x0a, 0x0c, 0x10), 1));
    p.setBrush(rim);
    p.drawRoundedRect(bezel.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    const QRectF screen = bezel.adjusted(5, 5, -5, -5);
    QLinearGradient glass(screen.topLeft(), screen.bottomLeft());
    glass.setColorAt(0, QColor(0x06, 0x14, 0x0b));
    glass.setColorAt(1, QColor(0x03, 0x0b, 0x06));
    p.setPen(QPen(QColor(0x00, 0x00, 0x00), 1));
    p.setBrush(glass);
    p.drawRoundedRect(screen, 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x0b, 0x22, 0x13));
    for (qreal x = screen.left() + 12; x < screen.right() - 2; x += 16)
    {
        p.drawLine(QPointF(x, screen.top() + 3), QPointF(x, screen.bottom() - 3));
    }
    for (qreal y = screen.top() + 12; y < screen.bottom() - 2; y += 16)
    {
        p.drawLine(QPointF(screen.left() + 3, y), QPointF(screen.right() - 3, y));
    }
    p.setRenderHint(QPainter::Antialiasing);
    // a faint reflection across the glass
    QLinearGradient sheen(screen.topLeft(), screen.topRight());
    sheen.setColorAt(0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 10));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRect(
        QRectF(screen.left() + 2, screen.top() + 2, screen.width() - 4, screen.height() * 0.35));

    ChipPicture(p, QRectF(316, 136, 44, 64), 8, QStringLiteral("ADC"));
    // input lines from the converter's pins
    p.setPen(QPen(QColor(0x2a, 0x36, 0x46), 1));
    for (int i = 1; i <= 8; ++i)
    {
        const qreal y = 136 + i * 64.0 / 9;
        p.drawLine(QPointF(300, y), QPointF(310, y));
    }
    return image;
}

QImage Hsmc(int scale)
{
    QImage image = PanelCanvas(scale);
    QPainter p(&image);
    TitleRule(p);
    HsmcPicture(p, QRectF(292, 58, 80, 166));
    // window behind the PASS / NG result under the Verify button
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(C(SkinColour::PANEL_LINE), 1));
    p.setBrush(QColor(0x0c, 0x10, 0x15));
    p.drawRoundedRect(QRectF(284.5, 253.5, 80, 19), 3, 3);
    return image;
}

QImage About(int scale)
{
    QImage image = NewCanvas(ABOUT_SIZE, ABOUT_SIZE, SkinColour::PANEL, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // emblem field
    const QRectF field(0, 0, ABOUT_SIZE, 182);
    QLinearGradient sky(field.topLeft(), field.bottomLeft());
    sky.setColorAt(0, QColor(0x0c, 0x22, 0x40));
    sky.setColorAt(1, C(SkinColour::PANEL));
    p.fillRect(field, sky);
    QRadialGradient bloom(QPointF(150, 82), 120);
    bloom.setColorAt(0, QColor(0x00, 0xb4, 0xd8, 60));
    bloom.setColorAt(1, QColor(0x00, 0xb4, 0xd8, 0));
    p.fillRect(field, bloom);

    // traces running out of the chip
    const QPointF c(150, 80);
    p.setPen(QPen(QColor(0x1c, 0x5e, 0x8a), 1.3));
    for (int i = -3; i <= 3; ++i)
    {
        const qreal o = i * 9.0;
        for (int side = 0; side < 4; ++side)
        {
            p.save();
            p.translate(c);
            p.rotate(side * 90);
            const bool vertical = side % 2 == 1;
            const qreal reach = (vertical ? 62 : 78) + (i % 2 == 0 ? (vertical ? 4 : 14) : 0);
            QPainterPath trace;
            trace.moveTo(44, o);
            trace.lineTo(58, o);
            trace.lineTo(58 + 10, o + (i < 0 ? -10 : (i > 0 ? 10 : 0)));
            trace.lineTo(reach, o + (i < 0 ? -10 : (i > 0 ? 10 : 0)));
            p.setBrush(Qt::NoBrush);
            p.drawPath(trace);
            p.setBrush(QColor(0x2a, 0x8c, 0xc0));
            p.drawEllipse(QPointF(reach, o + (i < 0 ? -10 : (i > 0 ? 10 : 0))), 2.2, 2.2);
            p.restore();
        }
    }
    // the chip with the board's name
    const QRectF chip(c.x() - 44, c.y() - 44, 88, 88);
    QLinearGradient body(chip.topLeft(), chip.bottomRight());
    body.setColorAt(0, QColor(0x30, 0x36, 0x40));
    body.setColorAt(1, QColor(0x10, 0x12, 0x16));
    p.setPen(QPen(QColor(0x00, 0xc8, 0xe8, 200), 1.5));
    p.setBrush(body);
    p.drawRoundedRect(chip, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 25), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(chip.adjusted(5, 5, -5, -5), 3, 3);
    DrawLabel(p, c + QPointF(0, -4), QStringLiteral("HX9"), ArtFont(34, true),
              QColor(0xf2, 0xf8, 0xff), Qt::AlignHCenter | Qt::AlignVCenter);
    DrawLabel(p, c + QPointF(0, 24), QStringLiteral("STARTER BOARD"), ArtFont(8, true),
              C(SkinColour::CYAN), Qt::AlignHCenter | Qt::AlignVCenter);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0a, 0x0b, 0x0d));
    p.drawEllipse(chip.topLeft() + QPointF(10, 10), 3, 3);

    DrawLabel(p, QPointF(150, 148), QStringLiteral("Velmora Starter Board"), ArtFont(13, true),
              QColor(0xdc, 0xe6, 0xf0), Qt::AlignHCenter | Qt::AlignTop);
    DrawLabel(p, QPointF(150, 165), QStringLiteral("CONTROL PANEL"), ArtFont(8.5),
              QColor(0x7c, 0x8c, 0xa0), Qt::AlignHCenter | Qt::AlignTop);

    // divider
    QLinearGradient rule(QPointF(20, 0), QPointF(280, 0));
    rule.setColorAt(0, QColor(0, 234, 255, 0));
    rule.setColorAt(0.5, QColor(0, 234, 255, 200));
    rule.setColorAt(1, QColor(0, 234, 255, 0));
    p.fillRect(QRectF(20, 186, 260, 1), rule);

    // small board picture left of the text lines
    const QRectF mini(24, 200, 60, 44);
    p.setPen(QPen(QColor(0x2a, 0x5a, 0x96), 1));
    p.setBrush(C(SkinColour::PCB));
    p.drawRoundedRect(mini, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1d, 0x1f, 0x24));
    p.drawRect(QRectF(mini.left() + 20, mini.top() + 10, 18, 18));
    p.setBrush(QColor(0x8a, 0x94, 0x9e));
    p.drawRect(QRectF(mini.left() + 6, mini.top() - 2, 9, 6));
    p.drawRect(QRectF(mini.left() + 44, mini.top() + 6, 8, 8));
    for (int i = 0; i < 9; ++i)
    {
        p.setBrush(i < 5 ? QColor(0xff, 0x40, 0x30) : QColor(0x30, 0xff, 0x50));
        p.drawRect(QRectF(mini.left() + 6 + i * 5.5, mini.bottom() - 9, 2.5, 2));
    }
    p.setBrush(QColor(0xe6, 0xed, 0xf5));
    for (int i = 0; i < 4; ++i)
    {
        p.drawEllipse(QPointF(mini.left() + 3.5 + (i % 2) * (mini.width() - 7),
                              mini.top() + 3.5 + (i / 2) * (mini.height() - 7)),
                      1.4, 1.4);
    }

    // frame
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(C(SkinColour::PANEL_LINE));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, ABOUT_SIZE - 1, ABOUT_SIZE - 1);
    CornerBrackets(p, QRectF(3, 3, ABOUT_SIZE - 7, ABOUT_SIZE - 7), 10, C(SkinColour::CYAN, 120));
    return image;
}

} // namespace PanelArt
