#include "panels/UnitSeg7.h"

TFormSeg7::TFormSeg7(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(SEG7_BACKGROUND))
{
}
