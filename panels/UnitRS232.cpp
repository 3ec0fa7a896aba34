#include "panels/UnitRS232.h"

TFormRS232::TFormRS232(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(RS232_BACKGROUND))
{
}
