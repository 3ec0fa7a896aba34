#pragma once

#include <QByteArray>
#include <QString>

// hx9ctl's two output streams: results on stdout, messages on stderr ("hx9ctl: text").
class TConsole
{
public:
    /// Writes text and a line end to stdout.
    void Out(const QString& text);
    /// Writes bytes to stdout as they are.
    void OutRaw(const QByteArray& bytes);
    /// Writes "hx9ctl: text" and a line end to stderr.
    void Error(const QString& text);
    /// Writes text and a line end to stderr (a step of a long operation).
    void Info(const QString& text);
    /// Writes text to stderr without a line end (the progress line).
    void InfoRaw(const QString& text);
    /// True when stderr is a terminal.
    bool IsErrorTerminal() const;
};
