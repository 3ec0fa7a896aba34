#pragma once

// What the end-to-end tests look for on the screen: the main window by its caption, the
// status label and the close button at their client pixels, and text found by its colour.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

inline const QString E2E_MAIN_CAPTION = QStringLiteral("Kelvaro - HX9 Control Panel V1.0.2");
inline const QRect E2E_STATUS_RECT(30, 540, 92, 22); // the status label, client pixels
inline const QPoint E2E_CLOSE_BUTTON(559 + 18, 19 + 6);
inline constexpr int E2E_INK_PIXELS = 8; // enough pixels of a colour to be text, not noise

/// "Connected" is written in RGB 0,128,0.
inline bool IsStatusGreen(const QColor& c)
{
    return c.green() >= 100 && c.green() <= 160 && c.red() < 50 && c.blue() < 50;
}

/// Pixels of rect (clipped to the image) that match.
inline int CountPixels(const QImage& image, const QRect& rect, bool (*match)(const QColor&))
{
    int count = 0;
    const QRect inside = rect.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += match(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}
