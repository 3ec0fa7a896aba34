#pragma once

#include <cstddef>
#include <cstdint>

// The memory panel's HEX file: one "%02X" digit pair per byte, lowest address first,
// nothing else. The reader takes both letter cases.

inline constexpr const char* INVALID_HEX_FILE_TEXT = "invalid hex file.";
inline constexpr std::size_t HEX_CHARS_PER_BYTE = 2;

/// True for 0-9, a-f and A-F.
bool IsHexDigit(char ch);
/// Value 0-15 of a hex digit; -1 for any other character.
int HexDigitValue(char ch);
/// True when all count characters are hex digits.
bool IsHexText(const char* text, std::size_t count);
/// Converts count characters in place into (count + 1) / 2 bytes at the start of the same
/// buffer; an odd last digit is the high half of its byte (low half 0). False at the first
/// character that is not a hex digit anywhere (the buffer is then converted with garbage).
bool HexTextToBytes(char* buffer, std::size_t count);
/// Writes 2 * count uppercase digit characters for count bytes (no terminator).
void BytesToHexText(const uint8_t* bytes, std::size_t count, char* text);
