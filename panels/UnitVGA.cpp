#include "panels/UnitVGA.h"

TFormVGA::TFormVGA(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(VGA_BACKGROUND))
{
}
