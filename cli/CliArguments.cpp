#include "cli/CliArguments.h"

#include "cli/CommandTable.h"

namespace
{

void Apply(TCliArguments& args, const TCliOption& option, const QString& value)
{
    const QString name = QLatin1String(option.Long);
    if (!args.Options.contains(name))
        args.Options << name;
    if (option.Value)
        args.Values.insert(name, value);
}

// One "--name[=value]" word; may take the next word as its value.
bool ReadLong(TCliArguments& args, const QStringList& in, int& i)
{
    const QString word = in[i].mid(2);
    const qsizetype eq = word.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? word : word.left(eq);
    const TCliOption* option = FindCliOption(name);
    if (!option)
    {
        args.Error = QStringLiteral("unrecognized option '--%1'").arg(name);
        return false;
    }
    QString value;
    if (option->Value)
    {
        if (eq >= 0)
            value = word.mid(eq + 1);
        else if (i + 1 < in.size())
            value = in[++i];
        else
        {
            args.Error = QStringLiteral("option '--%1' requires an argument").arg(name);
            return false;
        }
    }
    else if (eq >= 0)
    {
        args.Error = QStringLiteral("option '--%1' doesn't allow an argument").arg(name);
        return false;
    }
    Apply(args, *option, value);
    return true;
}

// One "-abc" cluster; a letter that takes a value takes the rest of the word or the next one.
bool ReadShort(TCliArguments& args, const QStringList& in, int& i)
{
    const QString word = in[i];
    for (qsizetype k = 1; k < word.size(); ++k)
    {
        const TCliOption* option = FindCliOption(word[k]);
        if (!option)
        {
            args.Error = QStringLiteral("invalid option -- '%1'").arg(word[k]);
            return false;
        }
        if (!option->Value)
        {
            Apply(args, *option, {});
            continue;
        }
        QString value = word.mid(k + 1);
        if (value.isEmpty())
        {
            if (i + 1 >= in.size())
            {
                args.Error = QStringLiteral("option requires an argument -- '%1'").arg(word[k]);
                return false;
            }
            value = in[++i];
        }
        Apply(args, *option, value);
        return true;
    }
    return true;
}

} // namespace

std::optional<QString> TCliArguments::Value(const char* option) const
{
    const auto it = Values.find(QLatin1String(option));
    if (it == Values.end())
        return std::nullopt;
    return *it;
}

TCliArguments ParseCliArguments(const QStringList& in)
{
    TCliArguments args;
    bool optionsEnded = false;
    for (int i = 0; i < in.size(); ++i)
    {
        const QString& word = in[i];
        const bool isOption = !optionsEnded && word.size() > 1 && word.startsWith(QLatin1Char('-'));
        if (isOption && word == QLatin1String("--"))
        {
            optionsEnded = true;
            continue;
        }
        if (isOption)
        {
            const bool read = word.startsWith(QLatin1String("--")) ? ReadLong(args, in, i)
                                                                   : ReadShort(args, in, i);
            if (!read)
                return args;
            continue;
        }
        if (args.Command.isEmpty())
            args.Command = word;
        else
            args.Words << word;
    }
    return args;
}
