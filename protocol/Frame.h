#pragma once

#include <QtEndian>

#include <cstddef>
#include <cstdint>

// The frame, the same in both directions: start mark, command code, payload length
// (2 bytes, little-endian), payload, checksum, end mark. The checksum is the 8-bit sum of
// the code, both length bytes and the payload.
inline constexpr uint8_t PKT_START_MARK = 0xAA;
inline constexpr uint8_t PKT_END_MARK = 0x55;
inline constexpr uint32_t PKT_CODE_OFFSET = 1;
inline constexpr uint32_t PKT_LENGTH_OFFSET = 2;
inline constexpr uint32_t PKT_HEADER_LEN = 4;  // start mark, code, two length bytes
inline constexpr uint32_t PKT_TRAILER_LEN = 2; // checksum, end mark
inline constexpr uint32_t PKT_FRAME_OVERHEAD = PKT_HEADER_LEN + PKT_TRAILER_LEN;

// Largest request payload; the PC never sends more.
inline constexpr uint32_t PKT_PC2NIOS_MAX_PL_LEN = 32748;
// Largest reply payload: a memory read's status byte and 32747 data bytes.
inline constexpr uint32_t PKT_NIOS2PC_MAX_PL_LEN = 32748;

/// 8-bit wrapping sum of count bytes; 0 for an empty range.
inline uint8_t FrameChecksum(const uint8_t* bytes, size_t count)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum = static_cast<uint8_t>(sum + bytes[i]);
    return sum;
}

/// The payload length field of a frame whose header is at frame.
inline uint32_t FramePayloadLength(const uint8_t* frame)
{
    return qFromLittleEndian<uint16_t>(frame + PKT_LENGTH_OFFSET);
}

/// Writes start mark, code and payload length; the payload follows at PKT_HEADER_LEN.
inline void PutFrameHeader(uint8_t* frame, uint8_t code, uint16_t payloadLength)
{
    frame[0] = PKT_START_MARK;
    frame[PKT_CODE_OFFSET] = code;
    qToLittleEndian(payloadLength, frame + PKT_LENGTH_OFFSET);
}

/// Writes checksum and end mark behind the payload of a frame whose header is written.
inline void PutFrameTrailer(uint8_t* frame)
{
    const uint32_t length = FramePayloadLength(frame);
    frame[PKT_HEADER_LEN + length] =
        FrameChecksum(frame + PKT_CODE_OFFSET, PKT_HEADER_LEN - PKT_CODE_OFFSET + length);
    frame[PKT_HEADER_LEN + length + 1] = PKT_END_MARK;
}

/// True when count bytes hold exactly one whole frame: marks, length and checksum agree.
inline bool IsWellFormedFrame(const uint8_t* bytes, size_t count)
{
    if (count < PKT_FRAME_OVERHEAD || FramePayloadLength(bytes) + PKT_FRAME_OVERHEAD != count)
        return false;
    return bytes[0] == PKT_START_MARK && bytes[count - 1] == PKT_END_MARK &&
           FrameChecksum(bytes + PKT_CODE_OFFSET, count - PKT_CODE_OFFSET - PKT_TRAILER_LEN) ==
               bytes[count - 2];
}
