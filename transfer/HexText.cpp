#include "transfer/HexText.h"

#include <array>

namespace
{
constexpr char HEX_DIGITS_UPPER[] = "0123456789ABCDEF";
constexpr int DIGIT_LETTER_BASE = 10;
constexpr int NIBBLE_BITS = 4;
constexpr uint8_t NIBBLE_MASK = 0x0F;
} // namespace

namespace
{
constexpr int8_t NOT_A_DIGIT = -1;
constexpr std::size_t CHAR_VALUES = 256;

// Every character's digit value in one look-up: the HEX reader touches each character of a
// file twice (check, then decode), so a branch per character would dominate a load.
constexpr std::array<int8_t, CHAR_VALUES> MakeDigitTable()
{
    std::array<int8_t, CHAR_VALUES> table{};
    table.fill(NOT_A_DIGIT);
    for (int i = 0; i < DIGIT_LETTER_BASE; ++i)
        table['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i)
    {
        table['a' + i] = static_cast<int8_t>(DIGIT_LETTER_BASE + i);
        table['A' + i] = static_cast<int8_t>(DIGIT_LETTER_BASE + i);
    }
    return table;
}
constexpr std::array<int8_t, CHAR_VALUES> DIGIT_VALUE = MakeDigitTable();
} // namespace

int HexDigitValue(char ch)
{
    return DIGIT_VALUE[static_cast<uint8_t>(ch)];
}

bool IsHexDigit(char ch)
{
    return HexDigitValue(ch) >= 0;
}

bool IsHexText(const char* text, std::size_t count)
{
    // Or-ing the values finds a bad character without a branch per character.
    int8_t any = 0;
    for (std::size_t i = 0; i < count; ++i)
        any = static_cast<int8_t>(any | DIGIT_VALUE[static_cast<uint8_t>(text[i])]);
    return any >= 0;
}

bool HexTextToBytes(char* buffer, std::size_t count)
{
    const std::size_t pairs = count / HEX_CHARS_PER_BYTE;
    int8_t any = 0;
    for (std::size_t j = 0; j < pairs; ++j)
    {
        const int8_t high = DIGIT_VALUE[static_cast<uint8_t>(buffer[2 * j])];
        const int8_t low = DIGIT_VALUE[static_cast<uint8_t>(buffer[2 * j + 1])];
        any = static_cast<int8_t>(any | high | low);
        buffer[j] = static_cast<char>((high << NIBBLE_BITS) | (low & NIBBLE_MASK));
    }
    if (count % HEX_CHARS_PER_BYTE != 0)
    {
        // An odd count lacks the last low digit; a zero stands in for it.
        const int8_t high = DIGIT_VALUE[static_cast<uint8_t>(buffer[count - 1])];
        any = static_cast<int8_t>(any | high);
        buffer[pairs] = static_cast<char>(high << NIBBLE_BITS);
    }
    return any >= 0;
}

void BytesToHexText(const uint8_t* bytes, std::size_t count, char* text)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        text[2 * i] = HEX_DIGITS_UPPER[bytes[i] >> NIBBLE_BITS];
        text[2 * i + 1] = HEX_DIGITS_UPPER[bytes[i] & NIBBLE_MASK];
    }
}
