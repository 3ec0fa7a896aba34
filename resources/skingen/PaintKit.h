#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <array>

class QPainter;

// Drawing helpers shared by every picture of the skin.
namespace PaintKit
{

// The four rows of a button strip, top to bottom.
enum class ButtonRow
{
    Normal = 0,
    Disabled = 1,
    Hover = 2,
    Pressed = 3
};
inline constexpr int BUTTON_ROWS = 4;
inline constexpr std::array<ButtonRow, BUTTON_ROWS> ALL_ROWS = {
    ButtonRow::Normal, ButtonRow::Disabled, ButtonRow::Hover, ButtonRow::Pressed};

/// A fresh opaque 32-bit canvas of width by height layout pixels filled with one colour, at
/// scale device pixels per layout pixel: painters on it draw in layout pixels.
QImage NewCanvas(int width, int height, QRgb fill, int scale);

/// The sans-serif face of the skin at a pixel size.
QFont ArtFont(qreal pixelSize, bool bold = false);

/// Puts four equally tall pictures under each other into one strip, at their scale.
QImage StackRows(const std::array<QImage, BUTTON_ROWS>& rows);

/// How a skinned button face is tinted.
struct ButtonLook
{
    qreal Radius = 3.0;
    QColor Accent = QColor(0, 234, 255); // glow of hover and pressed rows
    QColor Base = QColor(0x2a, 0x35, 0x45);
};

/// Paints a button face for one row into rect (background already filled).
void DrawButtonFace(QPainter& p, const QRectF& rect, ButtonRow row, const ButtonLook& look);

/// Colour of a glyph or symbol on a button face in the given row.
QColor GlyphColour(ButtonRow row, const QColor& hoverColour);

/// Replaces every pixel outside shape by the colour key and moves any key-coloured pixel
/// inside it by one step, so only the outside is left out when drawn transparent.
void KeyOutside(QImage& image, const QPainterPath& shape, QRgb key);

/// Draws text with its box aligned at point (flags as for QPainter::drawText).
void DrawLabel(QPainter& p, const QPointF& at, const QString& text, const QFont& font,
               const QColor& colour, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop);

/// A rounded rectangle path.
QPainterPath RoundRect(const QRectF& rect, qreal radius);

/// Mixes two colours; t = 0 gives a, t = 1 gives b.
QColor Mix(const QColor& a, const QColor& b, qreal t);

} // namespace PaintKit
