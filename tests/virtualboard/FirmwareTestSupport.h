#pragma once

#include "virtualboard/Firmware.h"
#include "virtualboard/Frame.h"

#include <gtest/gtest.h>
#include <vector>

namespace vboardtest
{

inline std::vector<uint8_t> Le32(uint32_t v)
{
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

inline uint32_t Get32(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | (uint32_t(bytes[at + 1]) << 8) | (uint32_t(bytes[at + 2]) << 16) |
           (uint32_t(bytes[at + 3]) << 24);
}

inline std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

inline std::vector<uint8_t> Frame(uint8_t code, const std::vector<uint8_t>& payload = {})
{
    return vboard::BuildFrame(code, payload.data(), payload.size());
}

// Sends one request frame through the byte-stream entry and returns the reply payload,
// after checking that exactly one well-formed reply with the request's code came back.
inline std::vector<uint8_t> Exchange(vboard::TFirmware& firmware, uint8_t code,
                                     const std::vector<uint8_t>& payload = {})
{
    const std::vector<uint8_t> request = Frame(code, payload);
    const auto replies = firmware.Receive(request.data(), request.size());
    EXPECT_EQ(replies.size(), 1u);
    if (replies.size() != 1)
        return {};
    const std::vector<uint8_t>& reply = replies[0];
    EXPECT_TRUE(IsWellFormedFrame(reply.data(), reply.size()));
    EXPECT_EQ(reply[1], code);
    return std::vector<uint8_t>(reply.begin() + PKT_HEADER_LEN, reply.end() - 2);
}

} // namespace vboardtest
