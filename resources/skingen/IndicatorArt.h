#pragma once

#include <QImage>

// Lamps, digits, switches and keys: the pictures the peripheral panels draw, each at scale
// device pixels per layout pixel.
namespace IndicatorArt
{

inline constexpr int LED_WIDTH = 22;
inline constexpr int LED_HEIGHT = 36;
inline constexpr int DIGIT_WIDTH = 40;
inline constexpr int DIGIT_HEIGHT = 59;
inline constexpr int SWITCH_WIDTH = 19;
inline constexpr int SWITCH_HEIGHT = 63;
inline constexpr int KEY_SIZE = 44;
inline constexpr int INFO_WIDTH = 15;
inline constexpr int INFO_HEIGHT = 13;

/// Four-row strip of a 5 mm lamp, green or red, lit or dark.
QImage LedButton(bool green, bool lit, int scale);

/// Seven-segment digit showing value 0 to 15, on the colour key.
QImage HexDigit(int value, int scale);

/// Slide switch with its knob up or down, on the colour key.
QImage SlideSwitch(bool down, int scale);

/// Push button seen from above, released or held down, on the colour key.
QImage PushKey(bool down, int scale);

/// The information line's small icon.
QImage InfoIcon(int scale);

} // namespace IndicatorArt
