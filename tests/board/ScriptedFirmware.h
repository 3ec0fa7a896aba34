#pragma once

#include "tests/board/FakeJtag.h"

#include <functional>
#include <optional>
#include <vector>

struct TRequest
{
    uint8_t Command;
    std::vector<uint8_t> Payload;
};

// Answers each request frame written to the fake library with the reply payload that Reply
// returns (framed, available at once); std::nullopt keeps silent. Keeps every request.
class TScriptedFirmware
{
public:
    explicit TScriptedFirmware(const TFakeJtag& fake);
    ~TScriptedFirmware();
    TScriptedFirmware(const TScriptedFirmware&) = delete;
    TScriptedFirmware& operator=(const TScriptedFirmware&) = delete;

    std::function<std::optional<std::vector<uint8_t>>(const TRequest&)> Reply;
    std::vector<TRequest> Requests;
    int BadFrames = 0;

private:
    static void Hook(void* context, const uint8_t* bytes, uint32_t count);

    const TFakeJtag& m_Fake;
};

// Little-endian helpers for building reply payloads.
void AppendU32(std::vector<uint8_t>& bytes, uint32_t value);
uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t offset);
