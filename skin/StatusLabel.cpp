#include "skin/StatusLabel.h"

#include "skin/SkinAccessible.h"

#include <QAccessible>

TStatusLabel::TStatusLabel(QWidget* parent) : QLabel(parent)
{
    InstallSkinAccessibility();
}

void TStatusLabel::SetText(const QString& text)
{
    // Polls write the same text again and again; only news is told.
    if (text == this->text())
        return;
    setText(text);
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
