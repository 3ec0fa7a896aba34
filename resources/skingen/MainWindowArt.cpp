#include "resources/skingen/MainWindowArt.h"

#include "resources/skingen/BoardArt.h"
#include "resources/skingen/PaintKit.h"
#include "resources/skingen/Palette.h"

#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <utility>

using namespace PaintKit;
using SkinColour::C;

namespace
{

using namespace MainWindowArt;

constexpr int HEADER_BOTTOM = 36;
constexpr int DECK_TOP = 283;

// A groove: a dark line above-left and a light line below-right, as machined into metal.
void Groove(QPainter& p, const QRectF& r, qreal radius = 3)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(C(SkinColour::CHASSIS_EDGE, 150), 1));
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(C(SkinColour::CHASSIS_SHADE), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -1.5, -1.5), radius, radius);
    p.restore();
}

void Screw(QPainter& p, const QPointF& c)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient head(c + QPointF(-1, -1), 4);
    head.setColorAt(0, QColor(0x7a, 0x84, 0x90));
    head.setColorAt(1, QColor(0x2a, 0x30, 0x38));
    p.setPen(QPen(QColor(0x05, 0x06, 0x08), 0.8));
    p.setBrush(head);
    p.drawEllipse(c, 3.2, 3.2);
    p.setPen(QPen(QColor(0x12, 0x15, 0x1a), 1));
    p.drawLine(c + QPointF(-2, 1.2), c + QPointF(2, -1.2));
    p.restore();
}

void Chassis(QPainter& p)
{
    // header band
    QLinearGradient header(QPointF(0, 0), QPointF(0, HEADER_BOTTOM));
    header.setColorAt(0, C(SkinColour::HEADER).lighter(125));
    header.setColorAt(0.3, C(SkinColour::HEADER));
    header.setColorAt(1, C(SkinColour::HEADER));
    p.fillRect(QRectF(0, 0, WIDTH, HEADER_BOTTOM), header);
    // the system buttons sit on the flat header colour
    p.fillRect(QRectF(470, 14, 140, 22), C(SkinColour::HEADER));
    p.fillRect(QRectF(0, HEADER_BOTTOM, WIDTH, 1), C(SkinColour::CHASSIS_SHADE));
    p.fillRect(QRectF(0, HEADER_BOTTOM + 1, WIDTH, 1), C(SkinColour::CHASSIS_EDGE, 90));

    // the board bay: a dark recess lit from above
    const QRectF bay(0, HEADER_BOTTOM + 2, WIDTH, DECK_TOP - HEADER_BOTTOM - 2);
    QLinearGradient bayFill(bay.topLeft(), bay.bottomLeft());
    bayFill.setColorAt(0, QColor(0x0b, 0x0f, 0x15));
    bayFill.setColorAt(1, QColor(0x11, 0x16, 0x1e));
    p.fillRect(bay, bayFill);
    QRadialGradient light(QPointF(311, 150), 260);
    light.setColorAt(0, QColor(0x1e, 0x46, 0x78, 90));
    light.setColorAt(1, QColor(0x1e, 0x46, 0x78, 0));
    p.fillRect(bay, light);
    // fine grid on the bay floor
    p.setPen(QColor(255, 255, 255, 7));
    for (int x = 4; x < WIDTH; x += 12)
    {
        p.drawLine(x, static_cast<int>(bay.top()), x, static_cast<int>(bay.bottom()));
    }
    for (int y = static_cast<int>(bay.top()) + 6; y < bay.bottom(); y += 12)
    {
        p.drawLine(0, y, WIDTH, y);
    }

    // control deck
    p.fillRect(QRectF(0, DECK_TOP, WIDTH, HEIGHT - DECK_TOP), C(SkinColour::CHASSIS));
    p.fillRect(QRectF(0, DECK_TOP - 1, WIDTH, 1), C(SkinColour::CHASSIS_SHADE));
    p.fillRect(QRectF(0, DECK_TOP, WIDTH, 1), C(SkinColour::CHASSIS_EDGE));
    p.fillRect(QRectF(0, DECK_TOP + 1, WIDTH, 1), C(SkinColour::CHASSIS_EDGE, 80));

    // outer frame of the borderless window
    p.setPen(QColor(0x3e, 0x4a, 0x5a));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, WIDTH - 1, HEIGHT - 1);
    p.setPen(QColor(0x05, 0x06, 0x08));
    p.drawRect(1, 1, WIDTH - 3, HEIGHT - 3);
}

void TitlePlate(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate = QRectF(TITLE).adjusted(-8, -4, 8, 4);
    QLinearGradient glass(plate.topLeft(), plate.bottomLeft());
    glass.setColorAt(0, QColor(0x03, 0x05, 0x07));
    glass.setColorAt(1, QColor(0x0a, 0x0e, 0x13));
    p.setPen(QPen(QColor(0x02, 0x03, 0x04), 1));
    p.setBrush(glass);
    p.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QPen(C(SkinColour::CHASSIS_EDGE, 140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(plate.left() + 4, plate.bottom() + 0.5),
               QPointF(plate.right() - 4, plate.bottom() + 0.5));
    // the emblem at the header's left
    const QRectF chip(14, 9, 18, 18);
    p.setPen(QPen(C(SkinColour::CYAN), 1.2));
    p.setBrush(QColor(0x0a, 0x1c, 0x26));
    p.drawRoundedRect(chip, 3, 3);
    p.setPen(QPen(C(SkinColour::CYAN, 170), 1));
    for (int i = 0; i < 3; ++i)
    {
        const qreal o = 5 + i * 4;
        p.drawLine(QPointF(chip.left() + o, chip.top() - 3), QPointF(chip.left() + o, chip.top()));
        p.drawLine(QPointF(chip.left() + o, chip.bottom()),
                   QPointF(chip.left() + o, chip.bottom() + 3));
        p.drawLine(QPointF(chip.left() - 3, chip.top() + o), QPointF(chip.left(), chip.top() + o));
        p.drawLine(QPointF(chip.right(), chip.top() + o),
                   QPointF(chip.right() + 3, chip.top() + o));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(C(SkinColour::CYAN));
    p.drawRoundedRect(chip.adjusted(5, 5, -5, -5), 1, 1);
    DrawLabel(p, QPointF(42, 18), QStringLiteral("HX9"), ArtFont(15, true),
              QColor(0xe8, 0xf2, 0xfa), Qt::AlignLeft | Qt::AlignVCenter);
    DrawLabel(p, QPointF(80, 18.5), QStringLiteral("CONTROL PANEL"), ArtFont(8, true),
              QColor(0x6c, 0x7c, 0x90), Qt::AlignLeft | Qt::AlignVCenter);
    // tray around the system buttons
    Groove(p, QRectF(476, 14, 126, 22), 4);
    p.restore();
}

void BaySides(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // left: the board's name, large
    QLinearGradient letters(QPointF(0, 70), QPointF(0, 112));
    letters.setColorAt(0, QColor(0xff, 0xff, 0xff));
    letters.setColorAt(1, QColor(0x7c, 0xe8, 0xff));
    QFont big = ArtFont(44, true);
    big.setLetterSpacing(QFont::AbsoluteSpacing, -1);
    QPainterPath word;
    word.addText(QPointF(18, 110), big, QStringLiteral("HX9"));
    QColor glow = C(SkinColour::CYAN, 40);
    p.setPen(QPen(glow, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(word);
    p.setPen(Qt::NoPen);
    p.setBrush(letters);
    p.drawPath(word);
    DrawLabel(p, QPointF(20, 120), QStringLiteral("Velmora"), ArtFont(12, true),
              QColor(0xc8, 0xd4, 0xe2));
    DrawLabel(p, QPointF(20, 135), QStringLiteral("Starter Board"), ArtFont(12),
              QColor(0x8a, 0x9a, 0xae));
    p.fillRect(QRectF(20, 158, 100, 1), C(SkinColour::CYAN, 140));
    DrawLabel(p, QPointF(20, 166), QStringLiteral("PERIPHERAL CONTROL"), ArtFont(8, true),
              QColor(0x6c, 0x7c, 0x90));
    DrawLabel(p, QPointF(20, 178), QStringLiteral("OVER THE JTAG LINK"), ArtFont(8, true),
              QColor(0x6c, 0x7c, 0x90));

    // right: what the board carries
    const QRectF card(484, 56, 124, 212);
    p.setPen(QPen(QColor(0x2a, 0x34, 0x42), 1));
    p.setBrush(QColor(0x0c, 0x11, 0x18, 200));
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    DrawLabel(p, QPointF(card.left() + 10, card.top() + 8), QStringLiteral("ON THE BOARD"),
              ArtFont(8, true), C(SkinColour::CYAN));
    p.fillRect(QRectF(card.left() + 10, card.top() + 22, card.width() - 20, 1),
               QColor(0x2a, 0x34, 0x42));
    const std::array<std::pair<const char*, const char*>, 10> rows = {{{"LPDDR2", "512 MB"},
                                                                       {"SRAM", "512 KB"},
                                                                       {"LEDs", "8 G + 10 R"},
                                                                       {"7-SEG", "4 digits"},
                                                                       {"Switches", "10"},
                                                                       {"Keys", "4"},
                                                                       {"ADC", "8 channels"},
                                                                       {"Card slot", "SD"},
                                                                       {"Ports", "UART, HDMI"},
                                                                       {"Expansion", "HSMC"}}};
    qreal y = card.top() + 29;
    for (const auto& [name, value] : rows)
    {
        p.setPen(Qt::NoPen);
        p.setBrush(C(SkinColour::CYAN, 200));
        p.drawEllipse(QPointF(card.left() + 12.5, y + 6.5), 1.6, 1.6);
        DrawLabel(p, QPointF(card.left() + 19, y), QString::fromLatin1(name), ArtFont(10),
                  QColor(0xb4, 0xc2, 0xd2));
        DrawLabel(p, QPointF(card.right() - 9, y), QString::fromLatin1(value), ArtFont(10),
                  QColor(0x78, 0x88, 0x9c), Qt::AlignRight | Qt::AlignTop);
        y += 18;
    }
    p.restore();
}

void ControlDeck(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // tab tray: the tabs sit on the flat deck colour inside a groove that stays clear of
    // the connect button below it
    Groove(p, QRectF(3, 285, 200, 225), 3);

    // the tray's free slot after the last tab carries an engraved mark
    const QRectF slot(106, 289 + 4 * 45, 93, 38);
    const QColor engraved(0x24, 0x2c, 0x38);
    const QColor engravedLight(0x1c, 0x22, 0x2b);
    DrawLabel(p, QPointF(slot.center().x() + 0.5, slot.center().y() - 5 + 0.5),
              QStringLiteral("HX9"), ArtFont(15, true), engravedLight.darker(160),
              Qt::AlignHCenter | Qt::AlignVCenter);
    DrawLabel(p, QPointF(slot.center().x(), slot.center().y() - 5), QStringLiteral("HX9"),
              ArtFont(15, true), engraved, Qt::AlignHCenter | Qt::AlignVCenter);
    DrawLabel(p, QPointF(slot.center().x(), slot.center().y() + 10), QStringLiteral("VELMORA"),
              ArtFont(7, true), engraved, Qt::AlignHCenter | Qt::AlignVCenter);

    // connection plate: status text and gauge go on the dark glass
    DrawLabel(p, QPointF(30, 520), QStringLiteral("BOARD LINK"), ArtFont(8, true),
              QColor(0x6c, 0x7c, 0x90));
    const QRectF plate(26, 534, 97, 32);
    QLinearGradient glass(plate.topLeft(), plate.bottomLeft());
    glass.setColorAt(0, QColor(0x03, 0x05, 0x07));
    glass.setColorAt(1, QColor(0x0a, 0x0e, 0x13));
    p.setPen(QPen(QColor(0x02, 0x03, 0x04), 1));
    p.setBrush(glass);
    p.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QPen(C(SkinColour::CHASSIS_EDGE, 140), 1));
    p.drawLine(QPointF(plate.left() + 4, plate.bottom() + 0.5),
               QPointF(plate.right() - 4, plate.bottom() + 0.5));
    DrawLabel(p, QPointF(30, 574), QStringLiteral("JTAG / USB"), ArtFont(8, true),
              QColor(0x4a, 0x58, 0x6a));

    // panel bay: a recess holding the panel (or the clip) and the info strip under it
    // its left side only as wide as the gap left by the connect button
    const QRectF bay = QRectF(PANEL_AREA).adjusted(-1, -3, 3, 3);
    Groove(p, bay, 5);
    p.fillRect(QRectF(PANEL_AREA), C(SkinColour::PANEL));
    const QRectF strip(PANEL_AREA.left(), PANEL_AREA.top() + PANEL_CLIENT_HEIGHT,
                       PANEL_AREA.width(), PANEL_AREA.height() - PANEL_CLIENT_HEIGHT);
    p.fillRect(strip, C(SkinColour::INFO_STRIP));
    p.fillRect(QRectF(strip.left(), strip.top(), strip.width(), 1), QColor(0x22, 0x2a, 0x36));

    Screw(p, QPointF(10, 592));
    Screw(p, QPointF(610, 592));
    Screw(p, QPointF(610, 290));
    p.restore();
}

} // namespace

namespace MainWindowArt
{

QImage MainUi(int scale)
{
    QImage image = NewCanvas(WIDTH, HEIGHT, SkinColour::CHASSIS, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    Chassis(p);
    TitlePlate(p);
    BaySides(p);
    p.save();
    p.setClipRect(QRect(0, HEADER_BOTTOM + 2, WIDTH,
                        DECK_TOP - HEADER_BOTTOM - 3)); // the board's shadow stays in the bay
    BoardArt::Draw(p);
    p.restore();
    ControlDeck(p);
    return image;
}

} // namespace MainWindowArt
