#include "panels/UnitButton.h"

TFormButton::TFormButton(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(BUTTON_BACKGROUND))
{
}
