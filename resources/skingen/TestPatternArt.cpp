#include "resources/skingen/TestPatternArt.h"

#include "resources/skingen/PaintKit.h"

#include <QPainter>

#include <array>

namespace
{

constexpr int LEVEL_75 = 191;
constexpr int BLACK = 16;
constexpr int BARS = 7;
constexpr double MAIN_ROWS = 0.67;    // share of the height of the main bars
constexpr double CASTELLATION = 0.08; // share of the reversed row

// Left edge of part `i` of `parts` equal parts of width w, rounded to pixels.
int Edge(int w, double i, double parts)
{
    return static_cast<int>(w * i / parts + 0.5);
}

} // namespace

namespace TestPatternArt
{

QImage CompositeBars(int scale)
{
    const int w = COMPOSITE_WIDTH;
    const int h = COMPOSITE_HEIGHT;
    QImage image = PaintKit::NewCanvas(w, h, qRgb(BLACK, BLACK, BLACK), scale);
    QPainter p(&image);
    const int mainBottom = static_cast<int>(h * MAIN_ROWS + 0.5);
    const int castleBottom = static_cast<int>(h * (MAIN_ROWS + CASTELLATION) + 0.5);

    const std::array<QColor, BARS> bars = {QColor(LEVEL_75, LEVEL_75, LEVEL_75),
                                           QColor(LEVEL_75, LEVEL_75, 0),
                                           QColor(0, LEVEL_75, LEVEL_75),
                                           QColor(0, LEVEL_75, 0),
                                           QColor(LEVEL_75, 0, LEVEL_75),
                                           QColor(LEVEL_75, 0, 0),
                                           QColor(0, 0, LEVEL_75)};
    const QColor black(BLACK, BLACK, BLACK);
    const std::array<QColor, BARS> castle = {bars[6], black, bars[4], black,
                                             bars[2], black, bars[0]};
    for (int i = 0; i < BARS; ++i)
    {
        const int x0 = Edge(w, i, BARS);
        const int x1 = Edge(w, i + 1, BARS);
        p.fillRect(x0, 0, x1 - x0, mainBottom, bars[static_cast<size_t>(i)]);
        p.fillRect(x0, mainBottom, x1 - x0, castleBottom - mainBottom,
                   castle[static_cast<size_t>(i)]);
    }

    // bottom row: -I, white, +Q, black over five bars; then the black-level steps and black
    const int lowH = h - castleBottom;
    const std::array<QColor, 4> low = {QColor(0, 33, 76), QColor(235, 235, 235), QColor(50, 0, 106),
                                       black};
    for (int i = 0; i < 4; ++i)
    {
        const int x0 = Edge(w, i * 1.25, BARS);
        const int x1 = Edge(w, (i + 1) * 1.25, BARS);
        p.fillRect(x0, castleBottom, x1 - x0, lowH, low[static_cast<size_t>(i)]);
    }
    const std::array<int, 3> pluge = {7, BLACK, 26};
    for (int i = 0; i < 3; ++i)
    {
        const int x0 = Edge(w, 5 + i / 3.0, BARS);
        const int x1 = Edge(w, 5 + (i + 1) / 3.0, BARS);
        const int v = pluge[static_cast<size_t>(i)];
        p.fillRect(x0, castleBottom, x1 - x0, lowH, QColor(v, v, v));
    }
    const int x6 = Edge(w, 6, BARS);
    p.fillRect(x6, castleBottom, w - x6, lowH, black);
    return image;
}

} // namespace TestPatternArt
