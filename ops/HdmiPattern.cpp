#include "ops/HdmiPattern.h"

#include <QString>

namespace
{
QString Normalized(QStringView name)
{
    QString text = name.toString().toLower();
    text.replace(QLatin1Char('-'), QLatin1Char(' '));
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}
} // namespace

int FindHdmiPattern(QStringView name)
{
    const QString wanted = Normalized(name);
    for (int code = 0; code < HDMI_PATTERN_COUNT; ++code)
    {
        if (wanted ==
            Normalized(QString::fromLatin1(HdmiPatternNames[static_cast<std::size_t>(code)])))
            return code;
    }
    return -1;
}
