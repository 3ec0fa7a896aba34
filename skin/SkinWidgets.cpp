#include "skin/SkinWidgets.h"

#include "skin/ButtonProxy.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

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
    PlaceLabel(label, rect, font, alignment);
    return label;
}

void PlaceLabel(QLabel* label, const QRect& rect, const QFont& font, Qt::Alignment alignment)
{
    label->setGeometry(rect);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
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

void NameAfterCaption(QWidget* control, QLabel* caption)
{
    QString name = caption->text().trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    control->setAccessibleName(name.trimmed());
    caption->setBuddy(control);
}

void OrderFocusByPlace(QWidget* window)
{
    std::vector<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    {
        const bool takesFocus = (child->focusPolicy() & Qt::TabFocus) != 0 ||
                                qobject_cast<TButtonProxy*>(child) != nullptr;
        if (takesFocus && !child->isHidden() && !child->isWindow())
            controls.push_back(child);
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const QWidget* a, const QWidget* b)
                     {
                         const QPoint pa = a->pos();
                         const QPoint pb = b->pos();
                         return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
                     });
    ChainFocus(controls);
}

void ChainFocus(const std::vector<QWidget*>& controls)
{
    // Qt chains only widgets that take the focus: a disabled button's proxy takes it meanwhile.
    std::vector<QWidget*> resting;
    for (QWidget* control : controls)
    {
        if (qobject_cast<TButtonProxy*>(control) && control->focusPolicy() == Qt::NoFocus)
        {
            control->setFocusPolicy(Qt::TabFocus);
            resting.push_back(control);
        }
    }
    for (std::size_t i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
    for (QWidget* control : resting)
        control->setFocusPolicy(Qt::NoFocus);
}
