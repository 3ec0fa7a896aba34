#pragma once

#include "host/InfoColour.h"

#include <QColor>
#include <QRgb>

// Colours of the information line, shared by the main window and every panel.
inline constexpr QRgb INFO_GREEN = qRgb(0, 128, 0);    // success, and clearing after success
inline constexpr QRgb INFO_RED = qRgb(255, 0, 0);      // failure
inline constexpr QRgb INFO_YELLOW = qRgb(255, 246, 0); // work in progress
// Panel titles and highlighted button captions.
inline constexpr QRgb TITLE_CYAN = qRgb(0, 234, 255);
// Status label's first colour and the connect gauge's bar.
inline constexpr QRgb LIGHT_GREEN = qRgb(0, 255, 48);

/// The information line's colour of that kind.
inline QColor InfoColourOf(TInfoColour colour)
{
    switch (colour)
    {
    case TInfoColour::Green:
        return QColor(INFO_GREEN);
    case TInfoColour::Red:
        return QColor(INFO_RED);
    case TInfoColour::Yellow:
        break;
    }
    return QColor(INFO_YELLOW);
}
