#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vboard
{

// Cuts request frames out of a byte stream that arrives in any split. Whatever cannot
// be the start of a frame is dropped: the reader resynchronises on the next start mark.
// A frame is handed on only when its length, checksum and end mark all hold.
class TFrameReader
{
public:
    // code, payload, payload length; the payload is valid only during the call.
    using TOnFrame = std::function<void(uint8_t, const uint8_t*, size_t)>;

    /// Appends bytes and calls onFrame for every complete, well-formed frame.
    void Feed(const uint8_t* bytes, size_t count, const TOnFrame& onFrame);

    /// Gives up on a partial frame that will not be completed: drops it byte by byte,
    /// still handing on any whole frame found behind its start mark. Leaves nothing held.
    void DiscardIncomplete(const TOnFrame& onFrame);

    /// Forgets everything held (a new client starts clean).
    void Reset();

    /// Bytes held while waiting for the rest of a frame.
    size_t PendingBytes() const { return m_Buffer.size() - m_Head; }

    /// Bytes dropped so far as junk or as parts of malformed frames.
    uint64_t DroppedBytes() const { return m_Dropped; }

private:
    void Parse(const TOnFrame& onFrame);
    void Compact();

    std::vector<uint8_t> m_Buffer;
    size_t m_Head = 0; // first byte not yet consumed
    uint64_t m_Dropped = 0;
};

} // namespace vboard
