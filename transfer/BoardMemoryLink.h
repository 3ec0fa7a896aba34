#pragma once

#include "transfer/MemoryLink.h"

class TBoard;

// TMemoryLink over a TBoard. A transfer lets window events run between chunks, so the
// board may be detached meanwhile: after Detach every command fails without touching it.
class TBoardMemoryLink : public TMemoryLink
{
public:
    /// Forwards to board until Detach.
    explicit TBoardMemoryLink(TBoard& board) : m_pBoard(&board) {}
    /// Makes every later command fail without using the board.
    void Detach() { m_pBoard = nullptr; }

    /// TBoard::KeepAlive; a failure is named by the board's last exchange (CommandOutcome),
    /// LinkFailed when detached or disconnected. So are the two below.
    TOpResult KeepAlive() override;
    /// TBoard::MemoryWrite.
    TOpResult MemoryWrite(uint8_t memoryType, uint32_t address, uint32_t length,
                          const uint8_t* data) override;
    /// TBoard::MemoryRead.
    TOpResult MemoryRead(uint8_t memoryType, uint32_t address, uint32_t length,
                         uint8_t* destination) override;

private:
    bool Usable() const;
    // Done when worked; else the failure the board saw.
    TOpResult Outcome(bool worked) const;

    TBoard* m_pBoard;
};
