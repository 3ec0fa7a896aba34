#pragma once

#include "transfer/MemorySequence.h"

#include <QElapsedTimer>
#include <QString>

class TCliSession;
class TInterruptGuard;

// hx9ctl as the view of a memory file transfer: the file is the command's argument, texts go
// to the terminal (results on stdout when they succeed, else stderr), the link opens only
// once the inputs and the file are good, and Ctrl-C is the Abort button.
class TCliMemoryView : public TMemoryView
{
public:
    /// path: the file the command names, already absolute.
    TCliMemoryView(TCliSession& session, const TInterruptGuard& interrupt, QString path);

    /// The start text waits until the link is open; results print at once.
    void SetInfo(const QString& text, TInfoColour colour) override;
    /// On stderr; a box that only repeats the result line is not printed twice.
    void ShowMessage(THost::TMessageKind kind, const QString& text) override;
    void SetBusy(bool) override {}
    QString AskOpenFile() override { return m_Path; }
    QString AskSaveFile() override { return m_Path; }
    TOpResult ReadWord(uint8_t memoryType, uint32_t wordAddress, uint16_t& value) override;
    TOpResult WriteWord(uint8_t memoryType, uint32_t wordAddress, uint16_t data) override;
    /// Opens the link (its failure already printed: nullptr), then prints the start text.
    std::shared_ptr<TMemoryLink> Link() override;
    /// The progress line on a terminal, Ctrl-C to abort.
    std::unique_ptr<TTransferProgress> StartProgress() override;
    uint32_t TickCount() override;

private:
    TCliSession& m_Session;
    const TInterruptGuard& m_Interrupt;
    QString m_Path;
    QString m_StartText;
    QString m_ResultText;
    QElapsedTimer m_Clock;
};
