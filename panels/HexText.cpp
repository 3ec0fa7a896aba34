#include "panels/HexText.h"

namespace
{
constexpr char HEX_DIGITS_UPPER[] = "0123456789ABCDEF";
constexpr int DIGIT_LETTER_BASE = 10;
constexpr int NIBBLE_BITS = 4;
constexpr uint8_t NIBBLE_MASK = 0x0F;
} // namespace

int HexDigitValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + DIGIT_LETTER_BASE;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + DIGIT_LETTER_BASE;
    return -1;
}

bool IsHexDigit(char ch)
{
    return HexDigitValue(ch) >= 0;
}

bool IsHexText(const char* text, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        if (!IsHexDigit(text[i]))
            return false;
    }
    return true;
}

bool HexTextToBytes(char* buffer, std::size_t count)
{
    for (std::size_t j = 0; 2 * j < count; ++j)
    {
        const int high = HexDigitValue(buffer[2 * j]);
        // An odd count lacks the last low digit; a zero stands in for it.
        const int low = 2 * j + 1 < count ? HexDigitValue(buffer[2 * j + 1]) : 0;
        if (high < 0 || low < 0)
            return false;
        buffer[j] = static_cast<char>((high << NIBBLE_BITS) | low);
    }
    return true;
}

void BytesToHexText(const uint8_t* bytes, std::size_t count, char* text)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        text[2 * i] = HEX_DIGITS_UPPER[bytes[i] >> NIBBLE_BITS];
        text[2 * i + 1] = HEX_DIGITS_UPPER[bytes[i] & NIBBLE_MASK];
    }
}
