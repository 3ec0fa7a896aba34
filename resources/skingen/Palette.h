#pragma once

#include <QColor>
#include <QRgb>

// The skin's colours. Buttons are copied opaque onto the window, so the corners of every
// strip are painted in the colour of the surface the button sits on: those surfaces are
// kept flat and named here.
namespace SkinColour
{

// Main window chassis
inline constexpr QRgb CHASSIS = 0xff161b23;      // lower control deck, tab column
inline constexpr QRgb CHASSIS_DARK = 0xff0e1218; // header band, bay floor
inline constexpr QRgb CHASSIS_EDGE = 0xff323c4a; // bevel highlight
inline constexpr QRgb CHASSIS_SHADE = 0xff07090d;
inline constexpr QRgb HEADER = 0xff0e1218; // system buttons sit here
inline constexpr QRgb INFO_STRIP = 0xff0a0d12;

// Panels (387 x 296 backgrounds); buttons and pictures sit on PANEL
inline constexpr QRgb PANEL = 0xff161c25;
inline constexpr QRgb PANEL_SECTION = 0xff1b232e;
inline constexpr QRgb PANEL_BAND = 0xff202a37;
inline constexpr QRgb PANEL_LINE = 0xff2e3a4a;
inline constexpr QRgb PANEL_LINE_DIM = 0xff232c38;

// Accents, matching the program's text colours
inline constexpr QRgb CYAN = 0xff00eaff;
inline constexpr QRgb LIME = 0xff00ff30;
inline constexpr QRgb WHITE = 0xffffffff;

// Board
inline constexpr QRgb PCB = 0xff0c3a70;
inline constexpr QRgb PCB_DARK = 0xff082b55;
inline constexpr QRgb PCB_TRACE = 0xff1d5ca0;
inline constexpr QRgb PCB_TRACE_LIT = 0xff2a6cb4;
inline constexpr QRgb SILK = 0xffe6edf5;
inline constexpr QRgb GOLD = 0xffd0a84e;
inline constexpr QRgb GOLD_DARK = 0xff8a6a28;
inline constexpr QRgb SOLDER = 0xffc7ccd2;
inline constexpr QRgb CHIP = 0xff1d1f24;
inline constexpr QRgb CHIP_EDGE = 0xff3b3f47;
inline constexpr QRgb METAL = 0xffb9c0c8;
inline constexpr QRgb METAL_DARK = 0xff6e7680;

// Transparent pictures: the lower-left pixel's colour is left out when drawn.
inline constexpr QRgb COLOUR_KEY = 0xffff00ff;

inline QColor C(QRgb rgb)
{
    return QColor::fromRgba(rgb);
}
inline QColor C(QRgb rgb, int alpha)
{
    QColor c = QColor::fromRgba(rgb);
    c.setAlpha(alpha);
    return c;
}

} // namespace SkinColour
