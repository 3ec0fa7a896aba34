#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class TCliSession;
struct TCliArguments;
struct TMemoryCheckResult;
struct TMemoryType;

// hx9ctl's mem commands: one word read and written through the memory word operations,
// ranges saved to and loaded from files through the memory panel's own sequence, with
// hx9ctl as its view (TCliMemoryView).
class TMemoryCommands
{
public:
    explicit TMemoryCommands(TCliSession& session) : m_Session(session) {}

    /// Runs "mem read|write|save|load|test ..."; returns the exit status.
    int Run(const TCliArguments& args);

private:
    int Read(const TMemoryType& type, const QStringList& words);
    int Write(const TMemoryType& type, const QStringList& words);
    int Save(const TMemoryType& type, const QStringList& words);
    int Load(const TMemoryType& type, const QStringList& words);
    // Data bus, address bus, a random pattern, its complement and each word's own address
    // over a range; 1 when any word failed.
    int Test(const TMemoryType& type, const QStringList& words);
    int RunTest(const TMemoryType& type, uint32_t wordAddress, uint32_t wordLength, uint32_t seed);
    // Prints one pass's result and first failures; false when the test cannot go on.
    bool ReportPass(const QString& pass, const TMemoryCheckResult& result);
    // Shows a rejected field's message and the operation's failure text; returns 2.
    int Rejected(const QString& message, const QString& failureText);

    TCliSession& m_Session;
};
