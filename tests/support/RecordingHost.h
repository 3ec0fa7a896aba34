#pragma once

#include "host/Host.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

// Host for tests: the test's clock (or a steady one), recorded beeps, messages (each answered
// at once, as a click on OK would) and file questions (answered with the preset names), and
// the program folder the test chose.
class TRecordingHost : public THost
{
public:
    struct TMessage
    {
        TMessageKind Kind;
        QString Text;
        bool operator==(const TMessage&) const = default;
    };

    struct TFileQuestion
    {
        bool Save; // false: a file to read
        QString Filter;
        QString DefaultSuffix;
        bool operator==(const TFileQuestion&) const = default;
    };

    explicit TRecordingHost(QString folder = QString()) : Folder(std::move(folder))
    {
        m_Steady.start();
    }

    uint32_t TickCount() override
    {
        return Clock ? Clock() : static_cast<uint32_t>(m_Steady.elapsed());
    }
    void Beep() override { ++Beeps; }
    void ShowMessage(TMessageKind kind, const QString& text) override
    {
        Messages.push_back({kind, text});
        if (OnMessage)
        {
            OnMessage();
        }
    }
    QString ProgramFolder() override { return Folder; }
    QString AskOpenFileName(const QString& filter, const QString& defaultSuffix) override
    {
        FileQuestions.push_back({false, filter, defaultSuffix});
        return OpenFileAnswer;
    }
    QString AskSaveFileName(const QString& filter, const QString& defaultSuffix) override
    {
        FileQuestions.push_back({true, filter, defaultSuffix});
        return SaveFileAnswer;
    }

    std::function<uint32_t()> Clock; // empty: a steady millisecond clock
    int Beeps = 0;
    std::vector<TMessage> Messages;
    std::function<void()> OnMessage; // looks at the program while a box would be up
    std::vector<TFileQuestion> FileQuestions;
    QString OpenFileAnswer; // "": the user cancels
    QString SaveFileAnswer; // "": the user cancels
    QString Folder;

private:
    QElapsedTimer m_Steady;
};
