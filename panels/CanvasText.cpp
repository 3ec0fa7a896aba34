#include "panels/CanvasText.h"

#include <QFontMetrics>
#include <QPainter>

void DrawTextAt(QPainter& canvas, int left, int top, const QString& text)
{
    const QFontMetrics metrics(canvas.font());
    canvas.setBackgroundMode(Qt::TransparentMode);
    canvas.drawText(left, top + metrics.ascent(), text);
}

void DrawTextCentred(QPainter& canvas, int centreX, int top, const QString& text)
{
    const QFontMetrics metrics(canvas.font());
    DrawTextAt(canvas, centreX - metrics.horizontalAdvance(text) / 2, top, text);
}
