#pragma once

#include "protocol/Frame.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Frames as the firmware builds them; their layout and limits are the protocol's.
namespace vboard
{

/// A frame for code with count zero payload bytes at PKT_HEADER_LEN; fill them, then SealFrame.
std::vector<uint8_t> NewFrame(uint8_t code, size_t count);

/// Writes the checksum and end mark of a frame made by NewFrame after its payload was filled.
void SealFrame(std::vector<uint8_t>& frame);

/// Builds a whole frame (start mark to end mark) for code and payload.
std::vector<uint8_t> BuildFrame(uint8_t code, const uint8_t* payload, size_t count);

} // namespace vboard
