#pragma once

#include <utility>
#include <vector>

#include "board/HeadlessHost.h"

// The real clock of a headless host, with beeps and messages kept for the test to check, and
// the build's program folder as the program's own.
class TRecordingHost : public THeadlessHost
{
public:
    void Beep() override { ++Beeps; }
    void ShowMessage(TMessageKind kind, const QString& text) override
    {
        Messages.emplace_back(kind, text);
    }
    QString ProgramFolder() override { return QStringLiteral(HX9_PROGRAM_DIR "/"); }

    int Beeps = 0;
    std::vector<std::pair<TMessageKind, QString>> Messages;
};
