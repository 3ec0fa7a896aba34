#pragma once

#include "virtualboard/MemoryFaults.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vboard
{

// A byte-addressed memory that allocates its pages on first write, so that a 512 MB
// LPDDR2 costs only what has been written. Untouched bytes read as the fill value.
class TSparseMemory
{
public:
    // Small pages keep scattered writes cheap: 32 KB written 1 MB apart costs 32 KB, not 64.
    static constexpr size_t PAGE_SIZE = 4 * 1024;

    /// A memory of size bytes whose untouched bytes read as fill.
    TSparseMemory(uint64_t size, uint8_t fill);

    uint64_t Size() const { return m_Size; }
    uint8_t Fill() const { return m_Fill; }

    /// True when count bytes from address lie inside the memory.
    bool Contains(uint64_t address, uint64_t count) const;

    /// Copies count bytes from address; false (nothing copied) when the range leaves the memory.
    bool Read(uint64_t address, uint8_t* destination, size_t count) const;

    /// Stores count bytes at address; false (nothing stored) when the range leaves the memory.
    bool Write(uint64_t address, const uint8_t* source, size_t count);

    /// Forgets every written byte (power loss).
    void Clear();

    /// Bytes held in allocated pages.
    uint64_t AllocatedBytes() const;

    /// The chip's hardware faults; reads and writes go through them while any is set.
    TMemoryFaults& Faults() { return m_Faults; }

private:
    using TPage = std::unique_ptr<uint8_t[]>;

    uint8_t& Cell(uint64_t address);
    uint8_t CellValue(uint64_t address) const;

    uint64_t m_Size;
    uint8_t m_Fill;
    std::vector<TPage> m_Pages;
    TMemoryFaults m_Faults;
};

} // namespace vboard
