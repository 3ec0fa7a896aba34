#pragma once

#include <QColor>
#include <QWidget>

// A rectangle outline over the board picture: no fill, blind to the pointer.
class TShape : public QWidget
{
    Q_OBJECT

public:
    /// A hidden outline at rect with the pen's colour and width.
    TShape(QWidget* parent, const QRect& rect, const QColor& colour, int penWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_Colour;
    int m_PenWidth;
};
