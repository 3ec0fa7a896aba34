#include "app/Shape.h"

#include <QPainter>

TShape::TShape(QWidget* parent, const QRect& rect, const QColor& colour, int penWidth)
    : QWidget(parent), m_Colour(colour), m_PenWidth(penWidth)
{
    setGeometry(rect);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TShape::paintEvent(QPaintEvent*)
{
    // The pen lies wholly inside the rectangle, as a framed shape of this size is drawn.
    QPainter painter(this);
    painter.setPen(QPen(m_Colour, m_PenWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = m_PenWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
