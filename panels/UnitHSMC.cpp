#include "panels/UnitHSMC.h"

TFormHSMC::TFormHSMC(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(HSMC_BACKGROUND))
{
}
