#include "virtualboard/SparseMemory.h"

#include <algorithm>
#include <cstring>

namespace vboard
{

TSparseMemory::TSparseMemory(uint64_t size, uint8_t fill)
    : m_Size(size), m_Fill(fill), m_Pages((size + PAGE_SIZE - 1) / PAGE_SIZE)
{
}

bool TSparseMemory::Contains(uint64_t address, uint64_t count) const
{
    return address <= m_Size && count <= m_Size - address;
}

uint8_t& TSparseMemory::Cell(uint64_t address)
{
    TPage& page = m_Pages[static_cast<size_t>(address / PAGE_SIZE)];
    if (!page)
    {
        page = std::make_unique_for_overwrite<uint8_t[]>(PAGE_SIZE);
        std::memset(page.get(), m_Fill, PAGE_SIZE);
    }
    return page[static_cast<size_t>(address % PAGE_SIZE)];
}

uint8_t TSparseMemory::CellValue(uint64_t address) const
{
    const TPage& page = m_Pages[static_cast<size_t>(address / PAGE_SIZE)];
    return page ? page[static_cast<size_t>(address % PAGE_SIZE)] : m_Fill;
}

bool TSparseMemory::Read(uint64_t address, uint8_t* destination, size_t count) const
{
    if (!Contains(address, count))
        return false;
    if (m_Faults.Any())
    {
        for (size_t i = 0; i < count; ++i)
        {
            const uint64_t cell = m_Faults.Map(address + i);
            destination[i] = m_Faults.Read(cell, CellValue(cell));
        }
        return true;
    }
    size_t done = 0;
    while (done < count)
    {
        const uint64_t at = address + done;
        const size_t page = static_cast<size_t>(at / PAGE_SIZE);
        const size_t offset = static_cast<size_t>(at % PAGE_SIZE);
        const size_t n = std::min(count - done, PAGE_SIZE - offset);
        if (m_Pages[page])
            std::memcpy(destination + done, m_Pages[page].get() + offset, n);
        else
            std::memset(destination + done, m_Fill, n);
        done += n;
    }
    return true;
}

bool TSparseMemory::Write(uint64_t address, const uint8_t* source, size_t count)
{
    if (!Contains(address, count))
        return false;
    if (m_Faults.Any())
    {
        for (size_t i = 0; i < count; ++i)
            Cell(m_Faults.Map(address + i)) = source[i];
        return true;
    }
    size_t done = 0;
    while (done < count)
    {
        const uint64_t at = address + done;
        const size_t page = static_cast<size_t>(at / PAGE_SIZE);
        const size_t offset = static_cast<size_t>(at % PAGE_SIZE);
        const size_t n = std::min(count - done, PAGE_SIZE - offset);
        if (!m_Pages[page])
        {
            m_Pages[page] = std::make_unique_for_overwrite<uint8_t[]>(PAGE_SIZE);
            std::memset(m_Pages[page].get(), m_Fill, PAGE_SIZE);
        }
        std::memcpy(m_Pages[page].get() + offset, source + done, n);
        done += n;
    }
    return true;
}

void TSparseMemory::Clear()
{
    for (TPage& page : m_Pages)
        page.reset();
}

uint64_t TSparseMemory::AllocatedBytes() const
{
    uint64_t total = 0;
    for (const TPage& page : m_Pages)
        total += page ? PAGE_SIZE : 0;
    return total;
}

} // namespace vboard
