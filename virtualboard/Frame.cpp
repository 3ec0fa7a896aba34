#include "virtualboard/Frame.h"

#include <algorithm>

namespace vboard
{

uint8_t Checksum(const uint8_t* bytes, size_t count)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum = static_cast<uint8_t>(sum + bytes[i]);
    return sum;
}

std::vector<uint8_t> NewFrame(uint8_t code, size_t count)
{
    std::vector<uint8_t> frame(count + FRAME_OVERHEAD, 0);
    frame[0] = FRAME_START;
    frame[1] = code;
    frame[2] = static_cast<uint8_t>(count & 0xFF);
    frame[3] = static_cast<uint8_t>((count >> 8) & 0xFF);
    return frame;
}

void SealFrame(std::vector<uint8_t>& frame)
{
    const size_t count = frame.size() - FRAME_OVERHEAD;
    frame[FRAME_HEADER_LEN + count] = Checksum(frame.data() + 1, count + 3);
    frame[FRAME_HEADER_LEN + count + 1] = FRAME_END;
}

std::vector<uint8_t> BuildFrame(uint8_t code, const uint8_t* payload, size_t count)
{
    std::vector<uint8_t> frame = NewFrame(code, count);
    std::copy(payload, payload + count, frame.begin() + FRAME_HEADER_LEN);
    SealFrame(frame);
    return frame;
}

bool IsWellFormedFrame(const uint8_t* bytes, size_t count)
{
    if (count < FRAME_OVERHEAD || bytes[0] != FRAME_START || bytes[count - 1] != FRAME_END)
        return false;
    const size_t length = bytes[2] | (static_cast<size_t>(bytes[3]) << 8);
    if (length + FRAME_OVERHEAD != count)
        return false;
    return Checksum(bytes + 1, length + 3) == bytes[count - 2];
}

} // namespace vboard
