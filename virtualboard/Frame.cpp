#include "virtualboard/Frame.h"

#include <algorithm>

namespace vboard
{

std::vector<uint8_t> NewFrame(uint8_t code, size_t count)
{
    std::vector<uint8_t> frame(count + PKT_FRAME_OVERHEAD, 0);
    PutFrameHeader(frame.data(), code, static_cast<uint16_t>(count));
    return frame;
}

void SealFrame(std::vector<uint8_t>& frame)
{
    PutFrameTrailer(frame.data());
}

std::vector<uint8_t> BuildFrame(uint8_t code, const uint8_t* payload, size_t count)
{
    std::vector<uint8_t> frame = NewFrame(code, count);
    std::copy(payload, payload + count, frame.begin() + PKT_HEADER_LEN);
    SealFrame(frame);
    return frame;
}

} // namespace vboard
