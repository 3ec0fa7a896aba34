#include "panels/UnitLED.h"

TFormLED::TFormLED(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(LED_BACKGROUND))
{
}
