#include "tests/board/ScriptedFirmware.h"

TScriptedFirmware::TScriptedFirmware(const TFakeJtag& fake) : m_Fake(fake)
{
    m_Fake->SetWriteHook(&TScriptedFirmware::Hook, this);
}

TScriptedFirmware::~TScriptedFirmware()
{
    m_Fake->SetWriteHook(nullptr, nullptr);
}

void TScriptedFirmware::Hook(void* context, const uint8_t* bytes, uint32_t count)
{
    auto* self = static_cast<TScriptedFirmware*>(context);
    const std::vector<uint8_t> frame(bytes, bytes + count);
    if (count < 6 || frame[2] + (frame[3] << 8) + 6u != count)
    {
        ++self->BadFrames;
        return;
    }
    TRequest request{frame[1], std::vector<uint8_t>(frame.begin() + 4, frame.end() - 2)};
    if (MakeFrame(request.Command, request.Payload) != frame)
        ++self->BadFrames;
    self->Requests.push_back(request);
    if (!self->Reply)
        return;
    if (const auto reply = self->Reply(self->Requests.back()))
        self->m_Fake.Queue(MakeFrame(request.Command, *reply));
}

void AppendU32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes.at(offset + i);
    return value;
}
