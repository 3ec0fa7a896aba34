#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Reads a fuzz input front to back: a few leading bytes choose the case, the rest is data.
// Past the end every byte reads as 0, so any input, however short, is a valid case.
class TFuzzInput
{
public:
    TFuzzInput(const uint8_t* data, size_t size) : m_pData(data), m_Size(size) {}

    uint8_t Byte() { return m_Offset < m_Size ? m_pData[m_Offset++] : 0; }

    uint16_t U16()
    {
        const uint16_t low = Byte();
        return static_cast<uint16_t>(low | Byte() << 8);
    }

    /// Up to count bytes (fewer at the end).
    std::vector<uint8_t> Take(size_t count)
    {
        const size_t n = count < Left() ? count : Left();
        std::vector<uint8_t> bytes(m_pData + m_Offset, m_pData + m_Offset + n);
        m_Offset += n;
        return bytes;
    }

    std::vector<uint8_t> Rest() { return Take(Left()); }
    size_t Left() const { return m_Size - m_Offset; }

private:
    const uint8_t* m_pData;
    size_t m_Size;
    size_t m_Offset = 0;
};
