#include "cli/CliMemoryView.h"

#include "cli/CliSession.h"
#include "cli/TerminalProgress.h"
#include "ops/MemoryOps.h"
#include "transfer/BoardMemoryLink.h"

TCliMemoryView::TCliMemoryView(TCliSession& session, const TInterruptGuard& interrupt, QString path)
    : m_Session(session), m_Interrupt(interrupt), m_Path(std::move(path))
{
    m_Clock.start();
}

void TCliMemoryView::SetInfo(const QString& text, TInfoColour colour)
{
    switch (colour)
    {
    case TInfoColour::Yellow:
        m_StartText = text;
        return;
    case TInfoColour::Green:
        m_Session.Console().Out(text);
        break;
    case TInfoColour::Red:
        m_Session.Console().Error(text);
        break;
    }
    m_ResultText = text;
}

void TCliMemoryView::ShowMessage(THost::TMessageKind, const QString& text)
{
    if (text != m_ResultText)
        m_Session.Console().Error(text);
}

TOpResult TCliMemoryView::ReadWord(uint8_t memoryType, uint32_t wordAddress, uint16_t& value)
{
    if (!m_Session.OpenBoard())
        return TOpResult::LinkFailed;
    return ReadMemoryWord(m_Session.Board(), memoryType, wordAddress, value);
}

TOpResult TCliMemoryView::WriteWord(uint8_t memoryType, uint32_t wordAddress, uint16_t data)
{
    if (!m_Session.OpenBoard())
        return TOpResult::LinkFailed;
    return WriteMemoryWord(m_Session.Board(), memoryType, wordAddress, data);
}

std::shared_ptr<TMemoryLink> TCliMemoryView::Link()
{
    if (!m_Session.OpenBoard())
        return nullptr;
    m_Session.Console().Info(m_StartText);
    return std::make_shared<TBoardMemoryLink>(m_Session.Board());
}

std::unique_ptr<TTransferProgress> TCliMemoryView::StartProgress()
{
    return std::make_unique<TTerminalProgress>(m_Session.Console(), m_Interrupt);
}

uint32_t TCliMemoryView::TickCount()
{
    return static_cast<uint32_t>(m_Clock.elapsed());
}
