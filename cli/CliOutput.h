#pragma once

#include <QJsonObject>
#include <QString>

class TConsole;

// hx9ctl's results in the one form the command line chose: text lines, or with --json one
// compact JSON object on stdout (a JSON line per sample when watching) and nothing else there.
// A command makes both forms of its result from the same values and prints them once; the
// text is lines, each ending in "\n".
class TCliOutput
{
public:
    TCliOutput(TConsole& console, bool json);

    bool IsJson() const { return m_bJson; }
    /// Prints the command's result: the object, or the text.
    void Print(const QJsonObject& data, const QString& text);
    /// Prints one sample of a watch: the object, or the text's lines on one line. A sample is
    /// no answer: a watch that fails still gets its error object.
    void PrintSample(const QJsonObject& data, const QString& text);
    /// Marks the command as answered without a result of its own (a watch stopped as asked).
    void MarkAnswered() { m_bAnswered = true; }
    /// In JSON mode, a command that failed without a result prints {"error": ...}: the
    /// messages it wrote to stderr, or its exit status when it wrote none. Returns status.
    int Finish(int status);

private:
    void WriteObject(const QJsonObject& data);

    TConsole& m_Console;
    bool m_bJson;
    bool m_bAnswered = false;
};
