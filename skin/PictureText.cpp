#include "skin/PictureText.h"

TPictureText::TPictureText(QWidget* window, const QRect& rect, const QString& text)
    : QLabel(text, window)
{
    setGeometry(rect);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TPictureText::paintEvent(QPaintEvent*)
{
    // The window draws the picture; the text is only for those who cannot see it.
}
