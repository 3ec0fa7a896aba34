#pragma once

#include "board/Host.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

// Host for the window tests: the test's clock, recorded beeps and messages (each answered at
// once, as a click on OK would), and the program folder the test assembled.
class TAppTestHost : public THost
{
public:
    struct TMessage
    {
        TMessageKind Kind;
        QString Text;
        bool operator==(const TMessage&) const = default;
    };

    explicit TAppTestHost(QString folder) : Folder(std::move(folder)) { m_Steady.start(); }

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

    std::function<uint32_t()> Clock; // empty: a steady millisecond clock
    int Beeps = 0;
    std::vector<TMessage> Messages;
    std::function<void()> OnMessage; // looks at the window while a box would be up
    QString Folder;

private:
    QElapsedTimer m_Steady;
};
