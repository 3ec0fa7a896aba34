#include "skin/StatusLabel.h"

#include "skin/SkinAccessible.h"

TStatusLabel::TStatusLabel(QWidget* parent) : QLabel(parent)
{
    InstallSkinAccessibility();
}
