#include "tests/fuzz/FuzzMutator.h"

#include <algorithm>

namespace
{
constexpr int MAX_STACKED = 4;
constexpr size_t MAX_INSERT = 8;
constexpr int MAX_ARITH = 16;
// Frame marks, the ends of the byte range and the edges of signed and 7-bit values.
constexpr uint8_t INTERESTING[] = {0x00, 0x01, 0x02, 0x0F, 0x10, 0x20, 0x30, 0x41,
                                   0x55, 0x66, 0x7F, 0x80, 0x81, 0xAA, 0xFE, 0xFF};
enum TMutation
{
    FLIP_BIT,
    RANDOM_BYTE,
    INTERESTING_BYTE,
    ADD_TO_BYTE,
    INSERT_BYTES,
    ERASE_BYTES,
    COPY_WITHIN,
    SPLICE,
    TRUNCATE,
    MUTATION_COUNT
};
} // namespace

size_t TFuzzMutator::Below(size_t bound)
{
    return bound == 0 ? 0 : static_cast<size_t>(m_Random() % bound);
}

void TFuzzMutator::Mutate(TBytes& data, const std::vector<TBytes>& pool)
{
    const int count = 1 + static_cast<int>(Below(MAX_STACKED));
    for (int i = 0; i < count; ++i)
        MutateOnce(data, pool);
    if (data.size() > m_MaxLength)
        data.resize(m_MaxLength);
}

void TFuzzMutator::MutateOnce(TBytes& data, const std::vector<TBytes>& pool)
{
    const auto kind = static_cast<TMutation>(Below(MUTATION_COUNT));
    if (data.empty() && kind != SPLICE)
    {
        Insert(data);
        return;
    }
    const size_t at = Below(data.size());
    switch (kind)
    {
    case FLIP_BIT:
        data[at] = static_cast<uint8_t>(data[at] ^ (1u << Below(8)));
        break;
    case RANDOM_BYTE:
        data[at] = static_cast<uint8_t>(m_Random());
        break;
    case INTERESTING_BYTE:
        data[at] = INTERESTING[Below(std::size(INTERESTING))];
        break;
    case ADD_TO_BYTE:
        data[at] =
            static_cast<uint8_t>(data[at] + static_cast<int>(Below(2 * MAX_ARITH + 1)) - MAX_ARITH);
        break;
    case INSERT_BYTES:
        Insert(data);
        break;
    case ERASE_BYTES:
        Erase(data);
        break;
    case COPY_WITHIN:
        CopyWithin(data);
        break;
    case SPLICE:
        if (!pool.empty())
            Splice(data, pool[Below(pool.size())]);
        break;
    case TRUNCATE:
        data.resize(at);
        break;
    case MUTATION_COUNT:
        break;
    }
}

void TFuzzMutator::Insert(TBytes& data)
{
    const size_t at = Below(data.size() + 1);
    TBytes bytes(1 + Below(MAX_INSERT));
    const uint8_t value = static_cast<uint8_t>(m_Random());
    const bool repeated = Below(2) == 0;
    for (auto& b : bytes)
        b = repeated ? value : static_cast<uint8_t>(m_Random());
    data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin(), bytes.end());
}

void TFuzzMutator::Erase(TBytes& data)
{
    const size_t at = Below(data.size());
    const size_t n = 1 + Below(std::min<size_t>(data.size() - at, MAX_INSERT));
    data.erase(data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + n));
}

// A run of the input repeated somewhere else in it: frames and records come in series.
void TFuzzMutator::CopyWithin(TBytes& data)
{
    const size_t from = Below(data.size());
    const size_t n = 1 + Below(data.size() - from);
    const TBytes piece(data.begin() + static_cast<std::ptrdiff_t>(from),
                       data.begin() + static_cast<std::ptrdiff_t>(from + n));
    const size_t to = Below(data.size() + 1);
    data.insert(data.begin() + static_cast<std::ptrdiff_t>(to), piece.begin(), piece.end());
}

// The head of this input followed by the tail of another.
void TFuzzMutator::Splice(TBytes& data, const TBytes& other)
{
    const size_t keep = Below(data.size() + 1);
    const size_t from = Below(other.size() + 1);
    data.resize(keep);
    data.insert(data.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
}
