#include "skin/SkinWidgets.h"

#include <QLabel>
#include <QPushButton>

QFont PointFont(const QString& family, int points, bool bold)
{
    return PixelFont(family, (points * LAYOUT_DPI + POINTS_PER_INCH / 2) / POINTS_PER_INCH, bold);
}

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font{family};
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QRect& rect, const QFont& font, Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    label->setGeometry(rect);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QLabel* MakeTextLabel(QWidget* parent, const QRect& rect, const QFont& font, const char* text,
                      const QColor& colour)
{
    QLabel* label = MakeLabel(parent, rect, font, Qt::AlignLeft | Qt::AlignTop);
    label->setText(QString::fromLatin1(text));
    SetLabelColour(label, colour);
    return label;
}

void SetLabelColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QPushButton* MakeHiddenButton(QWidget* parent, const QRect& rect, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(rect);
    button->hide();
    return button;
}
