#pragma once

#include "ops/OpResult.h"

#include <QString>
#include <cstdint>
#include <vector>

class TMemoryLink;
class TTransferProgress;

// One word that did not read back as written.
struct TMemoryFault
{
    uint32_t WordAddress = 0;
    uint16_t Expected = 0;
    uint16_t Read = 0;

    /// The bits that differ.
    uint16_t Bits() const { return static_cast<uint16_t>(Expected ^ Read); }
};

// How one pass of the memory test ended: Done when it ran to its end, whatever it found;
// Aborted; or the board's failure (Refused, LinkFailed), which ends the pass.
struct TMemoryCheckResult
{
    TOpResult Result = TOpResult::Done;
    uint64_t FailingWords = 0;
    std::vector<TMemoryFault> First; // the first failures, at most MEMORY_CHECK_KEPT_FAULTS

    bool Passed() const { return Result == TOpResult::Done && FailingWords == 0; }
};

inline constexpr std::size_t MEMORY_CHECK_KEPT_FAULTS = 8;

// A memory test of one memory range, window-free, on the same board commands as the
// transfers: the data bus with a walking one, the address bus with each address line alone,
// then three patterns each written through the whole range and read back (streamed in
// chunks, with progress and abort as a transfer has): a pseudo-random one from a seed, its
// complement, so that every bit of every word is seen at 0 and at 1, and each word's own
// address, which shows two addresses reaching one cell.
class TMemoryCheck
{
public:
    /// Tests memoryType from wordAddress for words words (at least 1).
    TMemoryCheck(TMemoryLink& link, uint8_t memoryType, uint32_t wordAddress, uint32_t words)
        : m_Link(link), m_Type(memoryType), m_Address(wordAddress), m_Words(words)
    {
    }

    /// Each of the 16 data bits alone at the first word, read back at once.
    TMemoryCheckResult DataBus();
    /// The address lines within the range, which AddressBus tests.
    int AddressLines() const;
    /// Every address line within the range alone: a cell per line written, then each line
    /// driven in turn while the others must keep their pattern.
    TMemoryCheckResult AddressBus();
    /// The whole range written with the seed's pattern, then read back and compared.
    TMemoryCheckResult RandomPattern(uint32_t seed, TTransferProgress& progress);
    /// The same with every bit of the seed's pattern turned over.
    TMemoryCheckResult Complement(uint32_t seed, TTransferProgress& progress);
    /// The same with each word holding its word address's low 16 bits XOR its high 16 bits.
    TMemoryCheckResult OwnAddress(TTransferProgress& progress);

private:
    // The offset of each address line's cell from the first word.
    std::vector<uint32_t> LineOffsets() const;
    bool Write(uint32_t offset, uint16_t value, TMemoryCheckResult& result);
    // Reads the word at offset and records a fault when it is not expected.
    bool Expect(uint32_t offset, uint16_t expected, TMemoryCheckResult& result);

    TMemoryLink& m_Link;
    uint8_t m_Type;
    uint32_t m_Address;
    uint32_t m_Words;
};

/// "FFFFFFF: expected 0001, read 0000, bits 0001": one failure as hx9ctl prints it.
QString MemoryFaultText(const TMemoryFault& fault);
