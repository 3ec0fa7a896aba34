#include "transfer/BoardMemoryLink.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

bool TBoardMemoryLink::Usable() const
{
    return m_pBoard != nullptr && m_pBoard->IsConnected();
}

TOpResult TBoardMemoryLink::Outcome(bool worked) const
{
    return m_pBoard ? CommandOutcome(*m_pBoard, worked) : TOpResult::LinkFailed;
}

TOpResult TBoardMemoryLink::KeepAlive()
{
    return Outcome(Usable() && m_pBoard->KeepAlive());
}

TOpResult TBoardMemoryLink::MemoryWrite(uint8_t memoryType, uint32_t address, uint32_t length,
                                        const uint8_t* data)
{
    return Outcome(Usable() && m_pBoard->MemoryWrite(memoryType, address, length, data));
}

TOpResult TBoardMemoryLink::MemoryRead(uint8_t memoryType, uint32_t address, uint32_t length,
                                       uint8_t* destination)
{
    return Outcome(Usable() && m_pBoard->MemoryRead(memoryType, address, length, destination));
}
