#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vboard
{

// What the link does with one reply instead of sending it plainly.
enum class TFaultKind
{
    Stall,    // the reply is never sent
    Delay,    // sent after Argument ms
    Checksum, // checksum byte wrong
    EndMark,  // end mark wrong
    Code,     // another command code, checksum made to match
    Length,   // a well-formed frame one payload byte longer than the command's
    Junk,     // Argument junk bytes (never a start mark) before the reply
    Drop,     // the connection is closed instead
};

struct TFault
{
    TFaultKind Kind = TFaultKind::Stall;
    uint32_t Argument = 0; // ms for Delay, bytes for Junk
    uint32_t Count = 1;    // replies still to be hit
};

// One reply as it leaves the board, after any fault.
struct TOutgoing
{
    std::vector<uint8_t> Bytes;
    uint32_t DelayMs = 0;
    bool DropConnection = false; // close the link once what is queued before it is sent
};

// The queue of faults injected through the control interface. Each reply takes the
// fault at the head; a fault with a count of N hits the next N replies.
class TLinkFaults
{
public:
    static constexpr uint32_t MAX_JUNK_BYTES = 65536;
    static constexpr uint32_t MAX_DELAY_MS = 600000;

    /// Parses "stall|delay MS|checksum|endmark|code|length|junk BYTES|drop [COUNT]".
    static bool Parse(const std::string& text, TFault& fault, std::string& error);

    /// Queues a fault behind those already waiting.
    void Add(const TFault& fault);

    /// Forgets every waiting fault.
    void Clear() { m_Pending.clear(); }

    /// Sends a reply frame through the link, applying the fault at the head of the queue.
    TOutgoing Apply(std::vector<uint8_t> reply);

    /// The waiting faults, e.g. "checksum*2,delay:200*1"; "none" when empty.
    std::string Describe() const;

    size_t PendingCount() const { return m_Pending.size(); }

private:
    std::deque<TFault> m_Pending;
};

} // namespace vboard
