#pragma once

#include <QRect>

class QPainter;

// The starter board seen from above, drawn in main window coordinates: every component
// the panels drive lies under the outline the main window shows for it.
namespace BoardArt
{

/// The board's edge (connectors may stand a few pixels over it).
inline constexpr QRect BOARD_EDGE(150, 42, 322, 238);

// Where the main window outlines the parts; the drawing keeps each part inside its box.
inline constexpr QRect SEVEN_SEGMENT(181, 203, 67, 27);
inline constexpr QRect LED_ROW(180, 236, 253, 9);
inline constexpr QRect SLIDE_SWITCHES(177, 247, 143, 26);
inline constexpr QRect PUSH_BUTTONS(322, 247, 106, 25);
inline constexpr QRect LPDDR2(350, 102, 31, 28);
inline constexpr QRect SRAM(282, 150, 39, 26);
inline constexpr QRect SD_SLOT(382, 51, 33, 32);
inline constexpr QRect ADC(292, 217, 48, 12);
inline constexpr QRect UART_USB(239, 36, 30, 35);
inline constexpr QRect HDMI(276, 40, 35, 26);
inline constexpr QRect HSMC(438, 107, 17, 124);

inline constexpr int GREEN_LEDS = 8;
inline constexpr int RED_LEDS = 10;
inline constexpr int SWITCHES = 10;
inline constexpr int KEYS = 4;
inline constexpr int DIGITS = 4;

/// Draws the whole board with its shadow onto p.
void Draw(QPainter& p);

} // namespace BoardArt
