#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// hx9ctl's two output streams: results on stdout, messages on stderr ("hx9ctl: text").
// Once standard output is reserved (for a JSON object, or for memory data), result texts go
// to stderr too, so that stdout carries nothing else.
class TConsole
{
public:
    /// Writes text and a line end as a result.
    void Out(const QString& text);
    /// Writes bytes as a result, as they are.
    void OutRaw(const QByteArray& bytes);
    /// Writes bytes to stdout whether reserved or not: the reserving writer's own output.
    void WriteStandardOutput(const QByteArray& bytes);
    /// From now on results go to stderr.
    void ReserveStandardOutput() { m_bOutReserved = true; }
    /// Writes "hx9ctl: text" and a line end to stderr, and keeps text for Errors().
    void Error(const QString& text);
    /// Writes "hx9ctl: text" and a line end to stderr, not kept: a warning.
    void Warning(const QString& text);
    /// Writes text and a line end to stderr (a step of a long operation).
    void Info(const QString& text);
    /// Writes text to stderr without a line end (the progress line).
    void InfoRaw(const QString& text);
    /// True when stderr is a terminal.
    bool IsErrorTerminal() const;
    /// The texts Error wrote so far, in order.
    const QStringList& Errors() const { return m_Errors; }

private:
    bool m_bOutReserved = false;
    QStringList m_Errors;
};
