#include "cli/ManPage.h"

#include "cli/CliHelp.h"
#include "cli/CommandTable.h"
#include "cli/TemplateText.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace
{

const QString USAGE_PREFIX = QStringLiteral("Usage: ");
const QString PROGRAM_WORD = QStringLiteral("hx9ctl ");

// Running text names a placeholder whole or by its parts ("HOST", "PORT").
void AddPlaceholder(QSet<QString>& placeholders, const QString& word)
{
    placeholders << word;
    for (const QString& part : word.split(QLatin1Char(':')))
        placeholders << part;
}

// Text as roff reads it: backslashes escaped, the dashes that start an option as minus signs.
QString Escaped(const QString& text)
{
    static const QRegularExpression optionDashes(QStringLiteral("(?<![\\w-])(-+)(?=[A-Za-z])"));
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    QString result;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : optionDashes.globalMatch(out))
    {
        result += out.mid(from, m.capturedStart(1) - from);
        result += QStringLiteral("\\-").repeated(m.capturedLength(1));
        from = m.capturedEnd(1);
    }
    return result + out.mid(from);
}

// One line of running text: escaped, placeholders in italics, guarded against reading as a
// request when it starts with '.' or '\''.
QString TextLine(const QString& line, const QSet<QString>& placeholders)
{
    static const QRegularExpression words(QStringLiteral("\\b[A-Z][A-Z0-9_]*\\b"));
    QString out;
    const QString escaped = Escaped(line.trimmed());
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : words.globalMatch(escaped))
    {
        if (!placeholders.contains(m.captured()))
            continue;
        out += escaped.mid(from, m.capturedStart() - from);
        out += QStringLiteral("\\fI") + m.captured() + QStringLiteral("\\fR");
        from = m.capturedEnd();
    }
    out += escaped.mid(from);
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QStringLiteral("\\&"));
    return out + QLatin1Char('\n');
}

// A note of the program's help: its lines as one paragraph, the lines indented by two as
// examples set apart.
QString Paragraphs(const QString& text, const QSet<QString>& placeholders)
{
    QString out = QStringLiteral(".PP\n");
    bool example = false;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    {
        const bool indented = line.startsWith(QLatin1String("  "));
        if (indented != example)
            out += indented ? QStringLiteral(".PP\n.RS\n.EX\n") : QStringLiteral(".EE\n.RE\n.PP\n");
        example = indented;
        out += example ? Escaped(line.trimmed()) + QLatin1Char('\n') : TextLine(line, placeholders);
    }
    return example ? out + QStringLiteral(".EE\n.RE\n") : out;
}

// A synopsis with the program, commands and options in bold and placeholders in italics.
QString SynopsisLine(const QString& synopsis)
{
    static const QRegularExpression tokens(QStringLiteral("[^\\s\\[\\]|]+|[\\s\\[\\]|]+"));
    QString out;
    for (const QRegularExpressionMatch& m : tokens.globalMatch(synopsis))
    {
        QString word = m.captured();
        if (word.front().isSpace() || QStringLiteral("[]|").contains(word.front()))
        {
            out += word;
            continue;
        }
        QString tail;
        if (word.endsWith(QLatin1String("...")))
        {
            tail = QStringLiteral("...");
            word.chop(tail.size());
        }
        const char* font = IsPlaceholder(word) ? "\\fI" : "\\fB";
        out += QLatin1String(font) + Escaped(word) + QStringLiteral("\\fR") + tail;
    }
    return out + QLatin1Char('\n');
}

QSet<QString> PlaceholdersOf(const QStringList& synopses)
{
    QSet<QString> found;
    for (const QString& synopsis : synopses)
    {
        for (const QString& word : SynopsisWords(synopsis))
        {
            for (const QString& form : WordForms(word))
            {
                if (IsPlaceholder(form))
                    AddPlaceholder(found, form);
            }
        }
    }
    return found;
}

// The words that follow the command in its usages, where they are sub-commands ("send").
QSet<QString> SubCommandsOf(const TCliCommand& command)
{
    QSet<QString> found;
    for (const TCliUsage& usage : command.Usages)
    {
        const QString sub = SubCommandOf(QLatin1String(usage.Synopsis));
        if (!sub.isEmpty())
            found << sub;
    }
    return found;
}

// "read: ... write: ..." on one line holds two items: each gets a line of its own.
QStringList ItemPerLine(const QStringList& lines, const QSet<QString>& subCommands)
{
    static const QRegularExpression nextItem(QStringLiteral("\\. (\\w+): "));
    QStringList out;
    for (QString line : lines)
    {
        qsizetype from = 0;
        for (QRegularExpressionMatch m = nextItem.match(line); m.hasMatch();
             m = nextItem.match(line, from))
        {
            from = m.capturedEnd();
            if (!subCommands.contains(m.captured(1)))
                continue;
            out << line.left(m.capturedStart() + 1);
            line = line.mid(m.capturedStart(1));
            from = 0;
        }
        out << line;
    }
    return out;
}

// A command's help after its usage lines, in blocks: a paragraph starts after a line that
// ends a sentence; "send: ..." of a sub-command and "--watch MS: ..." of an option start an
// item; an indented "term   text" line is an item of a table; other indented lines continue.
QString CommandDescription(const QStringList& lines, const QSet<QString>& subCommands,
                           const QSet<QString>& placeholders)
{
    static const QRegularExpression lead(QStringLiteral("^(\\w+): (.*)$"));
    static const QRegularExpression optionLead(
        QStringLiteral("^(--?[\\w-]+(?: [A-Z][A-Z0-9_:]*)?): (.*)$"));
    static const QRegularExpression tableRow(QStringLiteral("^  (\\S.*?)  +(\\S.*)$"));
    enum class TBlock
    {
        None,
        Paragraph,
        Item,
        TableRow
    };
    TBlock block = TBlock::None;
    QString out;
    QString previous;
    for (const QString& line : ItemPerLine(lines, subCommands))
    {
        const bool indented = line.startsWith(QLatin1Char(' '));
        const QRegularExpressionMatch item = lead.match(line);
        const QRegularExpressionMatch option = optionLead.match(line);
        const QRegularExpressionMatch row = tableRow.match(line);
        QString text = line;
        if (!indented && item.hasMatch() && subCommands.contains(item.captured(1)))
        {
            out += QStringLiteral(".TP\n.B ") + item.captured(1) + QLatin1Char('\n');
            text = item.captured(2);
            block = TBlock::Item;
        }
        else if (!indented && option.hasMatch())
        {
            out += QStringLiteral(".TP\n") + SynopsisLine(option.captured(1));
            text = option.captured(2);
            block = TBlock::Item;
        }
        else if (indented && row.hasMatch())
        {
            out += QStringLiteral(".TP\n") + TextLine(row.captured(1), placeholders);
            text = row.captured(2);
            block = TBlock::TableRow;
        }
        else if (!indented && (block == TBlock::None || block == TBlock::TableRow ||
                               previous.endsWith(QLatin1Char('.'))))
        {
            out += QStringLiteral(".PP\n");
            block = TBlock::Paragraph;
        }
        out += TextLine(text, placeholders);
        previous = line.trimmed();
    }
    return out;
}

// The usage lines that open a command's help ("Usage: hx9ctl ...", then "       hx9ctl ...")
// as synopses; the lines after them are its description.
void SplitHelp(const QString& help, QStringList& synopses, QStringList& description)
{
    const QStringList lines = help.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    qsizetype i = 0;
    for (; i < lines.size(); ++i)
    {
        QString synopsis = lines[i].trimmed();
        if (i == 0 && synopsis.startsWith(USAGE_PREFIX))
            synopsis = synopsis.mid(USAGE_PREFIX.size());
        else if (i == 0 || !lines[i].startsWith(QLatin1Char(' ')))
            break;
        if (!synopsis.startsWith(PROGRAM_WORD))
            break;
        synopses << synopsis;
    }
    description = lines.mid(i);
}

QString CommandSection(const TCliCommand& command)
{
    QStringList synopses;
    QStringList description;
    if (command.Help)
        SplitHelp(QString::fromUtf8(command.Help), synopses, description);
    else
    {
        // A command without help of its own is told by its lines in the program's help.
        for (const TCliUsage& usage : command.Usages)
        {
            synopses << PROGRAM_WORD + QLatin1String(usage.Synopsis);
            QString summary =
                QString::fromUtf8(usage.Summary).replace(QLatin1Char('\n'), QLatin1Char(' '));
            summary[0] = summary[0].toUpper();
            description << summary + QLatin1Char('.');
        }
    }
    QString out = QStringLiteral(".SS ") + QLatin1String(command.Name) + QStringLiteral("\n.nf\n");
    for (const QString& synopsis : synopses)
        out += SynopsisLine(synopsis);
    out += QStringLiteral(".fi\n");
    const QSet<QString> placeholders = PlaceholdersOf(synopses);
    out += CommandDescription(description, SubCommandsOf(command), placeholders);
    if (command.Json)
    {
        out += QStringLiteral(".PP\nWith \\fB\\-\\-json\\fR:\n.RS\n");
        for (const QString& line : QString::fromUtf8(command.Json).split(QLatin1Char('\n')))
            out += TextLine(line, placeholders);
        out += QStringLiteral(".RE\n");
    }
    return out;
}

QString OptionSection(const TCliOption& option)
{
    QString term;
    if (option.Short)
        term = QStringLiteral("\\fB\\-%1\\fR, ").arg(QLatin1Char(option.Short));
    term +=
        QStringLiteral("\\fB\\-\\-") + Escaped(QLatin1String(option.Long)) + QStringLiteral("\\fR");
    QSet<QString> placeholders;
    if (option.Value)
    {
        term += QStringLiteral(" \\fI") + QLatin1String(option.Value) + QStringLiteral("\\fR");
        AddPlaceholder(placeholders, QLatin1String(option.Value));
    }
    const QString help =
        QString::fromUtf8(option.Help).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral(".TP\n") + term + QLatin1Char('\n') + TextLine(help, placeholders);
}

// Every placeholder of the synopses and option values, for the notes about them all.
QSet<QString> AllPlaceholders()
{
    QStringList synopses;
    for (const TCliCommand& command : CliCommands())
    {
        for (const TCliUsage& usage : command.Usages)
            synopses << QLatin1String(usage.Synopsis);
    }
    QSet<QString> found = PlaceholdersOf(synopses);
    for (const TCliOption& option : CliOptions())
    {
        if (option.Value)
            AddPlaceholder(found, QLatin1String(option.Value));
    }
    return found;
}

QString Notes(const QSet<QString>& placeholders)
{
    QString out = QStringLiteral(".SH NUMBERS AND UNITS\n") +
                  Paragraphs(QString::fromUtf8(NumbersNote()), placeholders) +
                  QStringLiteral(".SH EXIT STATUS\n");
    for (const TExitStatusHelp& line : ExitStatusHelps())
        out +=
            QStringLiteral(".TP\n.B %1\n").arg(line.Status) +
            TextLine(QString::fromUtf8(line.Meaning).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                     {});
    return out;
}

} // namespace

QString ManPage(const QString& pageTemplate, QString& error)
{
    QString commands;
    for (const TCliCommand& command : CliCommands())
        commands += CommandSection(command);
    QString options;
    for (const TCliOption& option : CliOptions())
        options += OptionSection(option);
    const QSet<QString> placeholders = AllPlaceholders();
    const QString description = TextLine(QString::fromUtf8(ProgramPurpose()), {}) +
                                Paragraphs(QString::fromUtf8(LinkNote()), placeholders) +
                                Paragraphs(QString::fromUtf8(JsonNote()), placeholders);
    return FillTemplate(pageTemplate,
                        {{QStringLiteral("DESCRIPTION"), description},
                         {QStringLiteral("COMMANDS"), commands},
                         {QStringLiteral("OPTIONS"), options},
                         {QStringLiteral("NOTES"), Notes(placeholders)}},
                        error);
}
