#pragma once

#include <QByteArray>
#include <QPlainTextEdit>

// The UART-USB panel's receive box: received 8-bit text appended at its end, shown wrapped
// at any character as a terminal shows it, for selecting and copying. Appending costs only
// the new bytes however much the box holds: the text is kept as received, and the view's
// last paragraph is kept a few lines long, so that only it is laid out again.
class TReceiveBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    /// An empty, read-only box on parent.
    explicit TReceiveBox(QWidget* parent);

    /// Appends bytes at the end; a view at the end follows it.
    void Append(const QByteArray& bytes);
    /// Everything appended since the last Clear, as received.
    QString Text() const;
    /// The box holding text alone.
    void SetText(const QString& text);
    /// Empties the box.
    void Clear();

protected:
    /// A copy holds the lines as shown, without the breaks that only keep paragraphs short.
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Inserts shown text at the end, with no line break in it.
    void AppendLine(const QString& shown);
    QTextCursor EndCursor() const;
    // Once the last paragraph wraps past a few lines, the lines after them move to a
    // paragraph of their own.
    void SplitLastParagraph();
    // The shown text from position from to position to, with a line break only where the
    // received text has one.
    QString ShownText(int from, int to) const;

    QByteArray m_Received;
};
