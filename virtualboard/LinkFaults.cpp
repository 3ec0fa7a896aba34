#include "virtualboard/LinkFaults.h"

#include "virtualboard/Frame.h"

#include <sstream>

namespace vboard
{

namespace
{

constexpr uint8_t WRONG_CODE_FLIP = 0x80; // echoed code = request code xor this
constexpr uint8_t JUNK_SEED = 0x3C;
constexpr uint32_t MAX_FAULT_COUNT = 1000000;

struct TKindName
{
    TFaultKind Kind;
    const char* Name;
    bool HasArgument;
};

constexpr TKindName KIND_NAMES[] = {
    {TFaultKind::Stall, "stall", false},       {TFaultKind::Delay, "delay", true},
    {TFaultKind::Checksum, "checksum", false}, {TFaultKind::EndMark, "endmark", false},
    {TFaultKind::Code, "code", false},         {TFaultKind::Length, "length", false},
    {TFaultKind::Junk, "junk", true},          {TFaultKind::Drop, "drop", false},
};

bool ParseNumber(const std::string& word, uint32_t max, uint32_t& value)
{
    if (word.empty() || word.size() > 10 ||
        word.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long n = std::stoull(word);
    if (n > max)
        return false;
    value = static_cast<uint32_t>(n);
    return true;
}

} // namespace

bool TLinkFaults::Parse(const std::string& text, TFault& fault, std::string& error)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    if (words.empty())
    {
        error = "fault kind missing";
        return false;
    }
    const TKindName* kind = nullptr;
    for (const TKindName& k : KIND_NAMES)
        if (words[0] == k.Name)
            kind = &k;
    if (kind == nullptr)
    {
        error = "unknown fault '" + words[0] + "'";
        return false;
    }
    fault = TFault{kind->Kind, 0, 1};
    size_t next = 1;
    if (kind->HasArgument)
    {
        const uint32_t max = kind->Kind == TFaultKind::Delay ? MAX_DELAY_MS : MAX_JUNK_BYTES;
        if (words.size() < 2 || !ParseNumber(words[1], max, fault.Argument))
        {
            error = std::string(kind->Name) + " needs a number from 0 to " + std::to_string(max);
            return false;
        }
        next = 2;
    }
    if (words.size() > next + 1)
    {
        error = "too many words";
        return false;
    }
    if (words.size() == next + 1 &&
        (!ParseNumber(words[next], MAX_FAULT_COUNT, fault.Count) || fault.Count == 0))
    {
        error = "count must be a number from 1 to " + std::to_string(MAX_FAULT_COUNT);
        return false;
    }
    return true;
}

void TLinkFaults::Add(const TFault& fault)
{
    m_Pending.push_back(fault);
}

TOutgoing TLinkFaults::Apply(std::vector<uint8_t> reply)
{
    TOutgoing out;
    if (m_Pending.empty())
    {
        out.Bytes = std::move(reply);
        return out;
    }
    const TFault fault = m_Pending.front();
    if (--m_Pending.front().Count == 0)
        m_Pending.pop_front();
    switch (fault.Kind)
    {
    case TFaultKind::Stall:
        break;
    case TFaultKind::Delay:
        out.Bytes = std::move(reply);
        out.DelayMs = fault.Argument;
        break;
    case TFaultKind::Checksum:
        reply[reply.size() - 2] = static_cast<uint8_t>(reply[reply.size() - 2] + 1);
        out.Bytes = std::move(reply);
        break;
    case TFaultKind::EndMark:
        reply.back() = static_cast<uint8_t>(~PKT_END_MARK);
        out.Bytes = std::move(reply);
        break;
    case TFaultKind::Code:
        reply[PKT_CODE_OFFSET] ^= WRONG_CODE_FLIP;
        SealFrame(reply);
        out.Bytes = std::move(reply);
        break;
    case TFaultKind::Length:
    {
        const size_t length = reply.size() - PKT_FRAME_OVERHEAD;
        std::vector<uint8_t> payload(reply.begin() + PKT_HEADER_LEN,
                                     reply.begin() +
                                         static_cast<std::ptrdiff_t>(PKT_HEADER_LEN + length));
        payload.push_back(0);
        out.Bytes = BuildFrame(reply[PKT_CODE_OFFSET], payload.data(), payload.size());
        break;
    }
    case TFaultKind::Junk:
        out.Bytes.reserve(fault.Argument + reply.size());
        for (uint32_t i = 0; i < fault.Argument; ++i)
        {
            uint8_t b = static_cast<uint8_t>(JUNK_SEED + 7 * i);
            if (b == PKT_START_MARK)
                b = 0;
            out.Bytes.push_back(b);
        }
        out.Bytes.insert(out.Bytes.end(), reply.begin(), reply.end());
        break;
    case TFaultKind::Drop:
        out.DropConnection = true;
        break;
    }
    return out;
}

std::string TLinkFaults::Describe() const
{
    if (m_Pending.empty())
        return "none";
    std::string text;
    for (const TFault& fault : m_Pending)
    {
        if (!text.empty())
            text += ",";
        for (const TKindName& k : KIND_NAMES)
            if (k.Kind == fault.Kind)
                text += k.Name;
        if (fault.Kind == TFaultKind::Delay || fault.Kind == TFaultKind::Junk)
            text += ":" + std::to_string(fault.Argument);
        text += "*" + std::to_string(fault.Count);
    }
    return text;
}

} // namespace vboard
