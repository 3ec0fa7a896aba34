#include "transfer/MemoryCheck.h"

#include "transfer/MemoryLink.h"
#include "transfer/MemoryTransfer.h"

namespace
{

constexpr int DATA_BITS = 16;
constexpr uint16_t PATTERN = 0xAAAA;
constexpr uint16_t ANTI_PATTERN = 0x5555;
constexpr uint32_t WORD_BYTES = 2;
constexpr int BYTE_BITS = 8;

void Record(TMemoryCheckResult& result, uint32_t wordAddress, uint16_t expected, uint16_t read)
{
    ++result.FailingWords;
    if (result.First.size() < MEMORY_CHECK_KEPT_FAULTS)
        result.First.push_back({wordAddress, expected, read});
}

// The words of a streamed pass, one per word of the range in order. Each kind hands out the
// same words when built again the same way: once for the write, once for the read-back.

// xorshift32 from a seed.
class TRandomWords
{
public:
    explicit TRandomWords(uint32_t seed) : m_State(seed == 0 ? 1 : seed) {}

    uint16_t Next()
    {
        m_State ^= m_State << 13;
        m_State ^= m_State >> 17;
        m_State ^= m_State << 5;
        return static_cast<uint16_t>(m_State >> 16);
    }

private:
    uint32_t m_State;
};

// Every bit of the seed's words turned over.
class TComplementWords
{
public:
    explicit TComplementWords(uint32_t seed) : m_Random(seed) {}

    uint16_t Next() { return static_cast<uint16_t>(~m_Random.Next()); }

private:
    TRandomWords m_Random;
};

// Each word's own address, its low 16 bits XOR its high 16 bits: two addresses hold the same
// word only when the lines they differ in repeat 16 lines apart.
class TAddressWords
{
public:
    explicit TAddressWords(uint32_t firstWord) : m_Word(firstWord) {}

    uint16_t Next()
    {
        const uint32_t address = m_Word++;
        return static_cast<uint16_t>(address ^ (address >> DATA_BITS));
    }

private:
    uint32_t m_Word;
};

// The words as a stream of bytes, low byte of each word first. Chunks need not hold whole
// words: a write's chunks are at most 32743 bytes.
template <class TWords> class TPatternBytes
{
public:
    explicit TPatternBytes(const TWords& words) : m_Words(words) {}

    uint8_t Next()
    {
        if (m_bHighPending)
        {
            m_bHighPending = false;
            return static_cast<uint8_t>(m_Word >> BYTE_BITS);
        }
        m_Word = m_Words.Next();
        m_bHighPending = true;
        return static_cast<uint8_t>(m_Word);
    }
    /// The word the last byte belongs to.
    uint16_t Word() const { return m_Word; }

private:
    TWords m_Words;
    uint16_t m_Word = 0;
    bool m_bHighPending = false;
};

template <class TWords> class TPatternSource : public TByteSource
{
public:
    explicit TPatternSource(const TWords& words) : m_Pattern(words) {}

    bool ReadBytes(uint8_t* buffer, uint32_t count) override
    {
        for (uint32_t i = 0; i < count; ++i)
            buffer[i] = m_Pattern.Next();
        return true;
    }

private:
    TPatternBytes<TWords> m_Pattern;
};

// The read-back compared with the pattern; a word counts once however many bytes differ.
template <class TWords> class TPatternSink : public TByteSink
{
public:
    TPatternSink(const TWords& words, uint32_t firstWord, TMemoryCheckResult& result)
        : m_Pattern(words), m_Word(firstWord), m_Result(result)
    {
    }

    bool WriteBytes(const uint8_t* bytes, uint32_t count) override
    {
        for (uint32_t i = 0; i < count; ++i)
        {
            const uint8_t expected = m_Pattern.Next();
            if (!m_bLowPending)
            {
                m_Low = bytes[i];
                m_bLowBad = bytes[i] != expected;
                m_bLowPending = true;
                continue;
            }
            m_bLowPending = false;
            if (m_bLowBad || bytes[i] != expected)
                Record(m_Result, m_Word, m_Pattern.Word(),
                       static_cast<uint16_t>(m_Low | (bytes[i] << BYTE_BITS)));
            ++m_Word;
        }
        return true;
    }

private:
    TPatternBytes<TWords> m_Pattern;
    uint32_t m_Word;
    TMemoryCheckResult& m_Result;
    uint8_t m_Low = 0;
    bool m_bLowPending = false;
    bool m_bLowBad = false;
};

// Words written through the whole range, then read back and compared.
template <class TWords>
TMemoryCheckResult StreamPass(TMemoryLink& link, uint8_t memoryType, uint32_t wordAddress,
                              uint32_t words, const TWords& pattern, TTransferProgress& progress)
{
    TMemoryCheckResult result;
    const uint32_t byteAddress = wordAddress * WORD_BYTES;
    const uint32_t bytes = words * WORD_BYTES;
    TPatternSource<TWords> source(pattern);
    result.Result =
        WriteMemoryWithProgress(link, progress, memoryType, byteAddress, bytes, source).Result;
    if (result.Result != TOpResult::Done)
        return result;
    TPatternSink<TWords> sink(pattern, wordAddress, result);
    result.Result =
        ReadMemoryWithProgress(link, progress, memoryType, byteAddress, bytes, sink).Result;
    return result;
}

} // namespace

bool TMemoryCheck::Write(uint32_t offset, uint16_t value, TMemoryCheckResult& result)
{
    result.Result = MemoryRandomWrite(m_Link, m_Type, m_Address + offset, value);
    return result.Result == TOpResult::Done;
}

bool TMemoryCheck::Expect(uint32_t offset, uint16_t expected, TMemoryCheckResult& result)
{
    uint16_t read = 0;
    result.Result = MemoryRandomRead(m_Link, m_Type, m_Address + offset, read);
    if (result.Result != TOpResult::Done)
        return false;
    if (read != expected)
        Record(result, m_Address + offset, expected, read);
    return true;
}

TMemoryCheckResult TMemoryCheck::DataBus()
{
    TMemoryCheckResult result;
    for (int bit = 0; bit < DATA_BITS; ++bit)
    {
        const auto one = static_cast<uint16_t>(1u << bit);
        if (!Write(0, one, result) || !Expect(0, one, result))
            break;
    }
    return result;
}

std::vector<uint32_t> TMemoryCheck::LineOffsets() const
{
    std::vector<uint32_t> offsets;
    for (uint64_t offset = 1; offset < m_Words; offset <<= 1)
        offsets.push_back(static_cast<uint32_t>(offset));
    return offsets;
}

int TMemoryCheck::AddressLines() const
{
    return static_cast<int>(LineOffsets().size());
}

TMemoryCheckResult TMemoryCheck::AddressBus()
{
    TMemoryCheckResult result;
    const std::vector<uint32_t> offsets = LineOffsets();

    // Each line's cell holds the pattern; the base cell the opposite.
    for (uint32_t offset : offsets)
    {
        if (!Write(offset, PATTERN, result))
            return result;
    }
    if (!Write(0, ANTI_PATTERN, result))
        return result;
    // A line stuck high, or tied to another, put the base's word over a line's cell.
    for (uint32_t offset : offsets)
    {
        if (!Expect(offset, PATTERN, result))
            return result;
    }
    if (!Write(0, PATTERN, result))
        return result;
    // Each line driven alone must reach its own cell only.
    for (uint32_t driven : offsets)
    {
        if (!Write(driven, ANTI_PATTERN, result) || !Expect(0, PATTERN, result))
            return result;
        for (uint32_t other : offsets)
        {
            if (other != driven && !Expect(other, PATTERN, result))
                return result;
        }
        if (!Write(driven, PATTERN, result))
            return result;
    }
    return result;
}

TMemoryCheckResult TMemoryCheck::RandomPattern(uint32_t seed, TTransferProgress& progress)
{
    return StreamPass(m_Link, m_Type, m_Address, m_Words, TRandomWords(seed), progress);
}

TMemoryCheckResult TMemoryCheck::Complement(uint32_t seed, TTransferProgress& progress)
{
    return StreamPass(m_Link, m_Type, m_Address, m_Words, TComplementWords(seed), progress);
}

TMemoryCheckResult TMemoryCheck::OwnAddress(TTransferProgress& progress)
{
    return StreamPass(m_Link, m_Type, m_Address, m_Words, TAddressWords(m_Address), progress);
}

QString MemoryFaultText(const TMemoryFault& fault)
{
    return QString::asprintf("%07X: expected %04X, read %04X, bits %04X", fault.WordAddress,
                             fault.Expected, fault.Read, fault.Bits());
}
