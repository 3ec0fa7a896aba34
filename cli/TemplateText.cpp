#include "cli/TemplateText.h"

QString FillTemplate(const QString& text, const std::vector<std::pair<QString, QString>>& places,
                     QString& error)
{
    QString out = text;
    for (const auto& [name, fill] : places)
    {
        const QString place = QStringLiteral("{{%1}}").arg(name);
        const qsizetype count = out.count(place);
        if (count != 1)
        {
            error = QStringLiteral("the template has %1 places %2, not one").arg(count).arg(place);
            return {};
        }
        out.replace(place, fill.endsWith(QLatin1Char('\n')) ? fill.chopped(1) : fill);
    }
    return out;
}
