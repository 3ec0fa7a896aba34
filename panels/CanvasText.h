#pragma once

#include <QString>

class QPainter;

// Panel layouts place text by its top-left corner, or centre it on a column; both are
// drawn in the canvas's current font and pen over a transparent background.

/// Draws text with its top-left corner at left, top.
void DrawTextAt(QPainter& canvas, int left, int top, const QString& text);
/// Draws text centred on centreX: its left edge is centreX less half its width, the half
/// truncated toward zero.
void DrawTextCentred(QPainter& canvas, int centreX, int top, const QString& text);
