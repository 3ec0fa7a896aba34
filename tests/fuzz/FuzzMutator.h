#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

// Blind mutations for builds without libFuzzer: bit flips, byte values that mean something
// to the parsers (marks, limits), inserts, cuts, copies and splices with other seeds. A
// fixed seed makes every run the same, so a failure found in CI repeats on any desk.
class TFuzzMutator
{
public:
    using TBytes = std::vector<uint8_t>;

    TFuzzMutator(uint32_t seed, size_t maxLength) : m_Random(seed), m_MaxLength(maxLength) {}

    /// Applies one to four mutations to data; pool gives the splice partners (may be empty).
    void Mutate(TBytes& data, const std::vector<TBytes>& pool);
    /// A number in [0, bound); 0 when bound is 0.
    size_t Below(size_t bound);

private:
    void MutateOnce(TBytes& data, const std::vector<TBytes>& pool);
    void Insert(TBytes& data);
    void Erase(TBytes& data);
    void CopyWithin(TBytes& data);
    void Splice(TBytes& data, const TBytes& other);

    std::mt19937 m_Random;
    size_t m_MaxLength;
};
