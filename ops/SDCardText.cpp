#include "ops/SDCardText.h"

namespace
{
// The reports end their lines with a line feed; make sure a title starts a fresh line.
QString Section(const char* title, const QString& report)
{
    QString text = QString::fromLatin1(title) + QLatin1Char('\n') + report;
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text;
}
} // namespace

QString SDCardReportText(const QString& cidText, const QString& csdText,
                         const QString& fileSystemText)
{
    return Section(SDCARD_TITLE_CID, cidText) + Section(SDCARD_TITLE_CSD, csdText) +
           QString::fromLatin1(SDCARD_TITLE_FAT) + QLatin1Char(' ') + fileSystemText +
           QLatin1Char('\n');
}
