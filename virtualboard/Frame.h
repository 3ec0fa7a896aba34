#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The frame the PC and the firmware exchange, the same in both directions:
// AA code len_lo len_hi payload... checksum 55.
namespace vboard
{

constexpr uint8_t FRAME_START = 0xAA;
constexpr uint8_t FRAME_END = 0x55;
constexpr size_t FRAME_HEADER_LEN = 4;  // start, code, two length bytes
constexpr size_t FRAME_TRAILER_LEN = 2; // checksum, end mark
constexpr size_t FRAME_OVERHEAD = FRAME_HEADER_LEN + FRAME_TRAILER_LEN;
// Largest request payload the PC may send.
constexpr size_t PKT_PC2NIOS_MAX_PL_LEN = 32748;
// Largest reply payload: a MemoryRead status byte and 32747 data bytes.
constexpr size_t PKT_NIOS2PC_MAX_PL_LEN = 32748;

/// 8-bit wrapping sum of count bytes; 0 for an empty range.
uint8_t Checksum(const uint8_t* bytes, size_t count);

/// A frame for code with count zero payload bytes at FRAME_HEADER_LEN; fill them, then SealFrame.
std::vector<uint8_t> NewFrame(uint8_t code, size_t count);

/// Writes the checksum and end mark of a frame made by NewFrame after its payload was filled.
void SealFrame(std::vector<uint8_t>& frame);

/// Builds a whole frame (start mark to end mark) for code and payload.
std::vector<uint8_t> BuildFrame(uint8_t code, const uint8_t* payload, size_t count);

/// True when bytes hold exactly one well-formed frame (marks, length and checksum agree).
bool IsWellFormedFrame(const uint8_t* bytes, size_t count);

} // namespace vboard
