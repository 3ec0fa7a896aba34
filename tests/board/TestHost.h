#pragma once

#include "board/Host.h"

#include <functional>
#include <utility>
#include <vector>

// Host for tests: a clock the test drives (or the fake library's), recorded beeps and
// messages, and a program folder pointing at a folder of fake libraries.
class TTestHost : public THost
{
public:
    explicit TTestHost(QString folder = QString()) : Folder(std::move(folder)) {}

    uint32_t TickCount() override { return Clock ? Clock() : Tick; }
    void Beep() override { ++Beeps; }
    void ShowMessage(TMessageKind kind, const QString& text) override
    {
        Messages.emplace_back(kind, text);
    }
    QString ProgramFolder() override { return Folder; }

    std::function<uint32_t()> Clock;
    uint32_t Tick = 0;
    int Beeps = 0;
    std::vector<std::pair<TMessageKind, QString>> Messages;
    QString Folder;
};
