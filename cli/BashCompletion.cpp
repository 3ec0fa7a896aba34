#include "cli/BashCompletion.h"

#include "cli/CommandTable.h"
#include "cli/TemplateText.h"
#include "ops/HdmiPattern.h"
#include "transfer/MemoryType.h"

#include <QMap>
#include <QStringList>

namespace
{

// What the script offers at a place: "words:LIST", "files", "commands", or "" for nothing.
const QString OFFER_FILES = QStringLiteral("files");
const QString OFFER_COMMANDS = QStringLiteral("commands");

QString Words(QStringList words)
{
    words.removeDuplicates();
    return words.isEmpty() ? QString() : QStringLiteral("words:") + words.join(QLatin1Char(' '));
}

// A name as typed on the command line: lower case, '-' for blanks ("red-scale").
QString Typed(const char* name)
{
    return QString::fromLatin1(name).toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
}

QString MemoryNames()
{
    QStringList names;
    for (int i = 0; i < MEMORY_TYPE_COUNT; ++i)
        names << Typed(MemoryTypeAt(i).Name);
    return Words(names);
}

QString PatternNames()
{
    QStringList names;
    for (const char* name : HdmiPatternNames)
        names << Typed(name);
    return Words(names);
}

// What a placeholder of a synopsis stands for, where the script can list it.
QString OfferForPlaceholder(const QString& placeholder)
{
    if (placeholder == QLatin1String("FILE"))
        return OFFER_FILES;
    if (placeholder == QLatin1String("COMMAND"))
        return OFFER_COMMANDS;
    if (placeholder == QLatin1String("PATTERN"))
        return PatternNames();
    return {};
}

// "-m --memory": the spellings of an option.
QString Spellings(const TCliOption& option)
{
    QString out = QStringLiteral("--") + QLatin1String(option.Long);
    if (option.Short)
        out.prepend(QStringLiteral("-%1 ").arg(QLatin1Char(option.Short)));
    return out;
}

QString CaseLine(const QString& pattern, const QString& offer)
{
    return QStringLiteral("    %1) echo \"%2\" ;;\n").arg(pattern, offer);
}

// One synopsis's places: "mem save FILE [ADDRESS LENGTH]" gives mem/0/* the word save and
// mem/1/save files. A place of several forms ("MASK|all|none") offers its words.
void AddPlaces(const QString& synopsis, QMap<QString, QStringList>& offers)
{
    const QStringList words = SynopsisWords(synopsis);
    if (words.size() < 2)
        return;
    const bool sub = !SubCommandOf(synopsis).isEmpty();
    for (qsizetype place = 1; place < words.size(); ++place)
    {
        const QString first = place == 1 || !sub ? QStringLiteral("*") : words[1];
        const QString key = QStringLiteral("%1/%2/%3").arg(words[0]).arg(place - 1).arg(first);
        for (const QString& form : WordForms(words[place]))
        {
            const QString offer = IsPlaceholder(form) ? OfferForPlaceholder(form) : Words({form});
            if (!offer.isEmpty())
                offers[key] << offer;
        }
    }
}

// Several offers at one place: their words together, or the one kind that is not words.
QString Joined(const QStringList& offers)
{
    QStringList words;
    for (const QString& offer : offers)
    {
        if (!offer.startsWith(QLatin1String("words:")))
            return offer;
        words << offer.mid(6).split(QLatin1Char(' '));
    }
    return Words(words);
}

} // namespace

QString BashCompletion(const QString& scriptTemplate, QString& error)
{
    QStringList commands;
    QString commandOptions;
    QMap<QString, QStringList> offers;
    for (const TCliCommand& command : CliCommands())
    {
        commands << QLatin1String(command.Name);
        QStringList own;
        for (const char* name : command.Options)
        {
            if (const TCliOption* option = FindCliOption(QLatin1String(name)))
                own << Spellings(*option);
        }
        if (!own.isEmpty())
            commandOptions += CaseLine(QLatin1String(command.Name), own.join(QLatin1Char(' ')));
        for (const TCliUsage& usage : command.Usages)
            AddPlaces(QLatin1String(usage.Synopsis), offers);
    }
    QStringList all;
    QStringList global;
    QStringList valued;
    QString optionValues;
    for (const TCliOption& option : CliOptions())
    {
        all << Spellings(option);
        if (option.Global)
            global << Spellings(option);
        if (!option.Value)
            continue;
        valued << Spellings(option);
        const QString values =
            QLatin1String(option.Long) == QLatin1String(OPTION_MEMORY) ? MemoryNames() : QString();
        optionValues +=
            CaseLine(Spellings(option).replace(QLatin1Char(' '), QStringLiteral(" | ")), values);
    }
    QString arguments;
    for (auto it = offers.cbegin(); it != offers.cend(); ++it)
        arguments += CaseLine(it.key(), Joined(it.value()));
    return FillTemplate(scriptTemplate,
                        {{QStringLiteral("COMMANDS"), commands.join(QLatin1Char(' '))},
                         {QStringLiteral("GLOBAL_OPTIONS"), global.join(QLatin1Char(' '))},
                         {QStringLiteral("ALL_OPTIONS"), all.join(QLatin1Char(' '))},
                         {QStringLiteral("VALUE_OPTIONS"), valued.join(QLatin1Char(' '))},
                         {QStringLiteral("COMMAND_OPTIONS"), commandOptions},
                         {QStringLiteral("OPTION_VALUES"), optionValues},
                         {QStringLiteral("ARGUMENTS"), arguments}},
                        error);
}
