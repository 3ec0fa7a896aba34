#pragma once

#include <QImage>

// Four-row button strips (normal, disabled, hover, pressed). Captions are drawn by the
// program over the face; only the symbol buttons carry their symbol in the picture.
// Every picture is drawn at scale device pixels per layout pixel.
namespace ButtonArt
{

inline constexpr int TAB_WIDTH = 93;
inline constexpr int TAB_HEIGHT = 38;
inline constexpr int SYSTEM_WIDTH = 37;
inline constexpr int SYSTEM_HEIGHT = 12;
inline constexpr int CONNECT_WIDTH = 79;
inline constexpr int CONNECT_HEIGHT = 77;
inline constexpr int CAPTION_HEIGHT = 17;
inline constexpr int NORMAL_BTN_WIDTH = 64;
inline constexpr int MIDDLE_BTN_WIDTH = 122;
inline constexpr int LONG_BTN_WIDTH = 189;
inline constexpr int ARROW_WIDTH = 20;

enum class SystemGlyph
{
    Close,
    Minimise,
    About
};

/// Main window tab, on the chassis colour.
QImage TabButton(int scale);

/// Close, minimise or about button of the header.
QImage SystemButton(SystemGlyph glyph, int scale);

/// The big round connect button; disconnect = true for its connected look.
QImage ConnectButton(bool disconnect, int scale);

/// Plain caption button of a panel, of the given width.
QImage CaptionButton(int width, int scale);

/// Seven-segment stepper arrow; pointsRight = true for the up-count arrow.
QImage ArrowButton(bool pointsRight, int scale);

} // namespace ButtonArt
