#include "panels/UnitSDCARD.h"

TFormSDCARD::TFormSDCARD(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(SDCARD_BACKGROUND))
{
}
