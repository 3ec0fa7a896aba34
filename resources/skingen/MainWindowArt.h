#pragma once

#include <QImage>
#include <QRect>

// The main window's background "MAIN_UI": header, the board bay, and the control deck
// with the tab tray, the connection plate, the panel bay and the info strip.
namespace MainWindowArt
{

inline constexpr int WIDTH = 620;
inline constexpr int HEIGHT = 600;

// Where the main window places its own controls over the picture.
inline constexpr QRect TITLE(164, 8, 292, 16);
inline constexpr QRect SYSTEM_BUTTONS(481, 19, 559 + 37 - 481, 12);
inline constexpr QRect TABS(8, 289, 106 + 93 - 8, 424 + 38 - 289 + 45);
inline constexpr QRect CONNECT_BUTTON(124, 510, 79, 77);
inline constexpr QRect STATUS(30, 538, 94, 24); // status label and the gauge over it
inline constexpr QRect INFO_ICON(227, 564, 15, 13);
inline constexpr QRect INFO_TEXT(245, 562, 329, 16);
inline constexpr QRect PANEL_AREA(204, 288, 387, 296);
inline constexpr int PANEL_CLIENT_HEIGHT = 276;

/// Draws the whole background at scale device pixels per layout pixel.
QImage MainUi(int scale);

} // namespace MainWindowArt
