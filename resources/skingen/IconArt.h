#pragma once

#include <QImage>

#include <array>

// The application icon: the board's FPGA on a rounded piece of circuit board. It is drawn
// anew for every size, with less detail as it shrinks, so that the small ones stay sharp.
namespace IconArt
{

/// The sizes of the icon theme, in pixels.
inline constexpr std::array<int, 6> SIZES = {16, 32, 48, 64, 128, 256};

/// The icon, pixels by pixels, transparent outside the rounded board.
QImage Draw(int pixels);

} // namespace IconArt
