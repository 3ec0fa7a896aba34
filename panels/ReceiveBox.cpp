#include "panels/ReceiveBox.h"

#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace
{

// How a paragraph ends (its user state): a line of the text, Qt's default, or a line that only
// wraps on into the next paragraph.
constexpr int ENDS_LINE = -1;
constexpr int CONTINUED = 1;
// The last paragraph is laid out again on every append: no paragraph is longer.
constexpr int MAX_PARAGRAPH_LINES = 8;
// Long texts go in in slices, each laid out and split before the next.
constexpr qsizetype SLICE = 256;
constexpr char LINE_FEED = '\n';
constexpr char CARRIAGE_RETURN = '\r';
constexpr char TAB = '\t';
constexpr uchar FIRST_PRINTABLE = 0x20;

// What a received byte shows: control characters as blanks, a carriage return as nothing (a
// line feed breaks the line).
void AppendShown(QString& shown, char byte)
{
    if (byte == CARRIAGE_RETURN)
        return;
    const bool control = static_cast<uchar>(byte) < FIRST_PRINTABLE && byte != TAB;
    shown += control ? QLatin1Char(' ') : QLatin1Char(byte);
}

} // namespace

TReceiveBox::TReceiveBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setWordWrapMode(QTextOption::WrapAnywhere);
    // A fixed width, so that the lines split off stay lines as wide as the box.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TReceiveBox::Append(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    m_Received += bytes;
    QScrollBar* bar = verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QString shown;
    for (const char byte : bytes)
    {
        if (byte != LINE_FEED)
        {
            AppendShown(shown, byte);
            continue;
        }
        AppendLine(shown);
        shown.clear();
        EndCursor().insertBlock();
        document()->lastBlock().setUserState(ENDS_LINE);
    }
    AppendLine(shown);
    if (following)
        bar->setValue(bar->maximum());
}

void TReceiveBox::AppendLine(const QString& shown)
{
    for (qsizetype at = 0; at < shown.size(); at += SLICE)
    {
        EndCursor().insertText(shown.mid(at, SLICE));
        SplitLastParagraph();
    }
}

QTextCursor TReceiveBox::EndCursor() const
{
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    return end;
}

void TReceiveBox::SplitLastParagraph()
{
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
    for (QTextBlock last = document()->lastBlock();; last = document()->lastBlock())
    {
        layout->ensureBlockLayout(last);
        if (last.layout()->lineCount() <= MAX_PARAGRAPH_LINES)
            return;
        QTextCursor cursor(document());
        cursor.setPosition(last.position() +
                           last.layout()->lineAt(MAX_PARAGRAPH_LINES).textStart());
        cursor.insertBlock();
        cursor.block().previous().setUserState(CONTINUED);
        cursor.block().setUserState(ENDS_LINE);
    }
}

QString TReceiveBox::Text() const
{
    return QString::fromLatin1(m_Received);
}

void TReceiveBox::SetText(const QString& text)
{
    Clear();
    Append(text.toLatin1());
}

void TReceiveBox::Clear()
{
    m_Received.clear();
    clear();
}

QMimeData* TReceiveBox::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    auto* data = new QMimeData;
    data->setText(ShownText(selection.selectionStart(), selection.selectionEnd()));
    return data;
}

QString TReceiveBox::ShownText(int from, int to) const
{
    QString text;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next())
    {
        const int start = std::max(from, block.position());
        const int end = block.position() + block.length() - 1; // before the paragraph's end
        text += block.text().mid(start - block.position(), std::min(to, end) - start);
        if (end < to && block.userState() != CONTINUED)
            text += QLatin1Char(LINE_FEED);
    }
    return text;
}
