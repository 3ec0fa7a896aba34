#include "cli/CliArguments.h"

#include <array>

namespace
{

struct TOptionSpec
{
    QChar Short;
    const char* Long;
    bool TakesValue;
};

const std::array<TOptionSpec, 6> OPTIONS = {{
    {QLatin1Char('h'), "help", false},
    {QLatin1Char('V'), "version", false},
    {QLatin1Char('c'), "configure", false},
    {QLatin1Char('l'), "list", false},
    {QLatin1Char('m'), "memory", true},
    {QLatin1Char('w'), "wait", true},
}};

const TOptionSpec* FindLong(const QString& name)
{
    for (const TOptionSpec& spec : OPTIONS)
    {
        if (name == QLatin1String(spec.Long))
            return &spec;
    }
    return nullptr;
}

const TOptionSpec* FindShort(QChar ch)
{
    for (const TOptionSpec& spec : OPTIONS)
    {
        if (ch == spec.Short)
            return &spec;
    }
    return nullptr;
}

void Apply(TCliArguments& args, const TOptionSpec& spec, const QString& value)
{
    const QString name = QLatin1String(spec.Long);
    if (!args.OptionsSeen.contains(name))
        args.OptionsSeen << name;
    if (name == QLatin1String("help"))
        args.Help = true;
    else if (name == QLatin1String("version"))
        args.Version = true;
    else if (name == QLatin1String("configure"))
        args.Configure = true;
    else if (name == QLatin1String("list"))
        args.List = true;
    else if (name == QLatin1String("memory"))
        args.Memory = value;
    else if (name == QLatin1String("wait"))
        args.WaitMs = value;
}

// One "--name[=value]" word; may take the next word as its value.
bool ReadLong(TCliArguments& args, const QStringList& in, int& i)
{
    const QString word = in[i].mid(2);
    const qsizetype eq = word.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? word : word.left(eq);
    const TOptionSpec* spec = FindLong(name);
    if (!spec)
    {
        args.Error = QStringLiteral("unrecognized option '--%1'").arg(name);
        return false;
    }
    QString value;
    if (spec->TakesValue)
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
    Apply(args, *spec, value);
    return true;
}

// One "-abc" cluster; a letter that takes a value takes the rest of the word or the next one.
bool ReadShort(TCliArguments& args, const QStringList& in, int& i)
{
    const QString word = in[i];
    for (qsizetype k = 1; k < word.size(); ++k)
    {
        const TOptionSpec* spec = FindShort(word[k]);
        if (!spec)
        {
            args.Error = QStringLiteral("invalid option -- '%1'").arg(word[k]);
            return false;
        }
        if (!spec->TakesValue)
        {
            Apply(args, *spec, {});
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
        Apply(args, *spec, value);
        return true;
    }
    return true;
}

} // namespace

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
