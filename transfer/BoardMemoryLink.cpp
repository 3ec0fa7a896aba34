#include "transfer/BoardMemoryLink.h"

#include "board/Board.h"

bool TBoardMemoryLink::Usable() const
{
    return m_pBoard != nullptr && m_pBoard->IsConnected();
}

bool TBoardMemoryLink::KeepAlive()
{
    return Usable() && m_pBoard->KeepAlive();
}

bool TBoardMemoryLink::MemoryWrite(uint8_t memoryType, uint32_t address, uint32_t length,
                                   const uint8_t* data)
{
    return Usable() && m_pBoard->MemoryWrite(memoryType, address, length, data);
}

bool TBoardMemoryLink::MemoryRead(uint8_t memoryType, uint32_t address, uint32_t length,
                                  uint8_t* destination)
{
    return Usable() && m_pBoard->MemoryRead(memoryType, address, length, destination);
}
