#pragma once

#include <QImage>

// The HDMI panel's preview when no pattern is chosen: a composite colour-bar chart.
namespace TestPatternArt
{

inline constexpr int COMPOSITE_WIDTH = 329;
inline constexpr int COMPOSITE_HEIGHT = 169;

/// Colour bars at 75 %, the reversed castellation row, and the black-level row below.
QImage CompositeBars(int scale);

} // namespace TestPatternArt
