#include "panels/UnitADC.h"

TFormADC::TFormADC(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(ADC_BACKGROUND))
{
}
