#include "virtualboard/VirtualBoard.h"

#include "virtualboard/FpgaImage.h"

namespace vboard
{

bool TVirtualBoard::Program(const std::string& path, std::string& error)
{
    std::vector<uint8_t> image;
    if (!ReadFileBytes(path, IMAGE_FILE_LIMIT, image, error))
        return false;
    std::string reason;
    if (!ProgramImage(image, reason))
    {
        error = "'" + path + "' is not the HX9 image: " + reason;
        return false;
    }
    return true;
}

bool TVirtualBoard::ProgramImage(const std::vector<uint8_t>& image, std::string& error)
{
    if (!CheckHx9Image(image, error))
        return false;
    m_Firmware.Restart();
    m_bProgrammed = true;
    ++m_Generation;
    return true;
}

void TVirtualBoard::PowerCycle()
{
    m_Firmware.Restart();
    m_bProgrammed = false;
    ++m_Generation;
}

void TVirtualBoard::StartSession()
{
    m_Firmware.ForgetInput();
}

std::vector<TOutgoing> TVirtualBoard::Receive(const uint8_t* bytes, size_t count, uint64_t nowMs)
{
    if (!m_bProgrammed)
        return {};
    m_LastInputMs = nowMs;
    return Send(m_Firmware.Receive(bytes, count));
}

std::vector<TOutgoing> TVirtualBoard::Tick(uint64_t nowMs)
{
    if (NextTickIn(nowMs) != 0)
        return {};
    return Send(m_Firmware.DiscardIncomplete());
}

int64_t TVirtualBoard::NextTickIn(uint64_t nowMs) const
{
    if (m_Firmware.Reader().PendingBytes() == 0)
        return -1;
    const uint64_t due = m_LastInputMs + PARTIAL_FRAME_TIMEOUT_MS;
    return nowMs >= due ? 0 : static_cast<int64_t>(due - nowMs);
}

std::vector<TOutgoing> TVirtualBoard::Send(TFirmware::TReplies replies)
{
    std::vector<TOutgoing> out;
    out.reserve(replies.size());
    for (std::vector<uint8_t>& reply : replies)
        out.push_back(m_Faults.Apply(std::move(reply)));
    return out;
}

} // namespace vboard
