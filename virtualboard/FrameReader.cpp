#include "virtualboard/FrameReader.h"

#include "virtualboard/Frame.h"

#include <cstring>

namespace vboard
{

namespace
{
// Consumed bytes are moved out of the buffer once they pass this size, so that a long
// stream of small frames does not copy the buffer on every frame.
constexpr size_t COMPACT_THRESHOLD = 64 * 1024;
} // namespace

void TFrameReader::Feed(const uint8_t* bytes, size_t count, const TOnFrame& onFrame)
{
    if (count == 0)
        return;
    m_Buffer.insert(m_Buffer.end(), bytes, bytes + count);
    Parse(onFrame);
    Compact();
}

void TFrameReader::DiscardIncomplete(const TOnFrame& onFrame)
{
    while (m_Head < m_Buffer.size())
    {
        ++m_Head;
        ++m_Dropped;
        Parse(onFrame);
    }
    Compact();
}

void TFrameReader::Reset()
{
    m_Buffer.clear();
    m_Head = 0;
}

void TFrameReader::Parse(const TOnFrame& onFrame)
{
    while (m_Head < m_Buffer.size())
    {
        const uint8_t* head = m_Buffer.data() + m_Head;
        const size_t available = m_Buffer.size() - m_Head;
        const void* start = std::memchr(head, PKT_START_MARK, available);
        if (start == nullptr)
        {
            m_Dropped += available;
            m_Head = m_Buffer.size();
            return;
        }
        const size_t skipped = static_cast<size_t>(static_cast<const uint8_t*>(start) - head);
        m_Dropped += skipped;
        m_Head += skipped;
        head += skipped;
        const size_t held = available - skipped;
        if (held < PKT_HEADER_LEN)
            return;
        const size_t length = FramePayloadLength(head);
        if (length > PKT_PC2NIOS_MAX_PL_LEN)
        {
            // No request is that long: this start mark is junk.
            ++m_Head;
            ++m_Dropped;
            continue;
        }
        const size_t frameLen = length + PKT_FRAME_OVERHEAD;
        if (held < frameLen)
            return;
        if (!IsWellFormedFrame(head, frameLen))
        {
            ++m_Head;
            ++m_Dropped;
            continue;
        }
        m_Head += frameLen;
        onFrame(head[PKT_CODE_OFFSET], head + PKT_HEADER_LEN, length);
    }
}

void TFrameReader::Compact()
{
    if (m_Head == m_Buffer.size())
    {
        m_Buffer.clear();
        m_Head = 0;
    }
    else if (m_Head >= COMPACT_THRESHOLD)
    {
        m_Buffer.erase(m_Buffer.begin(), m_Buffer.begin() + static_cast<std::ptrdiff_t>(m_Head));
        m_Head = 0;
    }
}

} // namespace vboard
