// A scriptable stand-in for the JTAG access library: bytes to be read are queued with the
// tick at which they become available, written bytes are kept, faults can be injected, and
// the library owns the test clock so reads can move time forward.
#include "tests/board/fakes/FakeJtagControl.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <unistd.h>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
struct TByte
{
    uint32_t ReadyTick;
    uint8_t Value;
};

constexpr uint32_t INFO_ROOM = 167;
constexpr uint32_t DEFAULT_HANDLE = 0x5A17;
constexpr uint32_t OVERLONG_EXTRA = 7;

struct TState
{
    uint32_t Now = 0;
    uint32_t ReadCost = 1;
    std::deque<TByte> Incoming;
    int32_t EndlessByte = -1;
    uint32_t FailWrites = 0;
    uint32_t NegativeReads = 0;
    uint32_t OverlongReads = 0;
    uint32_t OpenHandle = DEFAULT_HANDLE;
    uint32_t Handle = 0;
    int32_t InfoResult = 1;
    std::vector<uint8_t> InfoRecord = std::vector<uint8_t>(INFO_ROOM, 0);
    TFakeJtagWriteHook Hook = nullptr;
    void* HookContext = nullptr;
    std::vector<uint8_t> Written;
    std::vector<uint32_t> WriteSizes;
    TFakeJtagCounters Counters{};
    std::string FolderAtOpen;
};

TState& State()
{
    static TState state;
    return state;
}

bool Ready(const TByte& b)
{
    // Signed view of the unsigned difference, so readiness survives a tick wrap.
    return static_cast<int32_t>(State().Now - b.ReadyTick) >= 0;
}

bool CheckHandle(uint32_t handle)
{
    TState& s = State();
    if (handle != 0 && handle == s.Handle)
        return true;
    ++s.Counters.BadHandleCalls;
    return false;
}
} // namespace

FAKE_EXPORT uint32_t KELVARO_JtagOpen(int32_t, const char*)
{
    TState& s = State();
    ++s.Counters.Opens;
    char folder[4096] = {};
    if (getcwd(folder, sizeof folder))
        s.FolderAtOpen = folder;
    s.Handle = s.OpenHandle;
    return s.Handle;
}

FAKE_EXPORT void KELVARO_JtagClose(uint32_t handle)
{
    TState& s = State();
    ++s.Counters.Closes;
    if (CheckHandle(handle))
        s.Handle = 0;
}

FAKE_EXPORT int32_t KELVARO_JtagWrite(uint32_t handle, const uint8_t* bytes, uint32_t count)
{
    TState& s = State();
    ++s.Counters.Writes;
    if (!CheckHandle(handle))
        return 0;
    if (s.FailWrites > 0)
    {
        --s.FailWrites;
        return 0;
    }
    s.Written.insert(s.Written.end(), bytes, bytes + count);
    s.WriteSizes.push_back(count);
    if (s.Hook)
        s.Hook(s.HookContext, bytes, count);
    return 1;
}

FAKE_EXPORT int32_t KELVARO_JtagRead(uint32_t handle, uint8_t* buffer, uint32_t room)
{
    TState& s = State();
    ++s.Counters.Reads;
    if (!CheckHandle(handle))
        return 0;
    int32_t result = 0;
    if (s.NegativeReads > 0)
    {
        --s.NegativeReads;
        result = -1;
    }
    else if (s.EndlessByte >= 0)
    {
        std::memset(buffer, s.EndlessByte, room);
        result = static_cast<int32_t>(room);
    }
    else
    {
        uint32_t placed = 0;
        while (placed < room && !s.Incoming.empty() && Ready(s.Incoming.front()))
        {
            buffer[placed++] = s.Incoming.front().Value;
            s.Incoming.pop_front();
        }
        result = static_cast<int32_t>(placed);
    }
    if (result > 0)
        s.Counters.BytesDelivered += static_cast<uint32_t>(result);
    if (s.OverlongReads > 0 && result >= 0)
    {
        --s.OverlongReads;
        result += OVERLONG_EXTRA;
    }
    s.Now += s.ReadCost;
    return result;
}

// The incomplete variant lacks this one name.
#ifndef FAKE_JTAG_WITHOUT_GETINFO
FAKE_EXPORT int32_t KELVARO_JtagGetInfo(uint32_t handle, void* info)
{
    TState& s = State();
    ++s.Counters.GetInfos;
    if (!CheckHandle(handle) || s.InfoResult == 0)
        return 0;
    if (!s.InfoRecord.empty())
        std::memcpy(info, s.InfoRecord.data(), std::min<size_t>(s.InfoRecord.size(), INFO_ROOM));
    return s.InfoResult;
}
#endif

FAKE_EXPORT void FakeJtag_Reset()
{
    State() = TState{};
}

FAKE_EXPORT uint32_t FakeJtag_Now()
{
    return State().Now;
}

FAKE_EXPORT void FakeJtag_SetNow(uint32_t tick)
{
    State().Now = tick;
}

FAKE_EXPORT void FakeJtag_SetReadCost(uint32_t ms)
{
    State().ReadCost = ms;
}

FAKE_EXPORT void FakeJtag_QueueAt(uint32_t readyTick, const uint8_t* bytes, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        State().Incoming.push_back({readyTick, bytes[i]});
}

FAKE_EXPORT uint32_t FakeJtag_Pending()
{
    return static_cast<uint32_t>(State().Incoming.size());
}

FAKE_EXPORT void FakeJtag_SetEndless(int32_t byte)
{
    State().EndlessByte = byte;
}

FAKE_EXPORT void FakeJtag_FailWrites(uint32_t count)
{
    State().FailWrites = count;
}

FAKE_EXPORT void FakeJtag_SetNegativeReads(uint32_t count)
{
    State().NegativeReads = count;
}

FAKE_EXPORT void FakeJtag_SetOverlongReads(uint32_t count)
{
    State().OverlongReads = count;
}

FAKE_EXPORT void FakeJtag_SetOpenHandle(uint32_t handle)
{
    State().OpenHandle = handle;
}

FAKE_EXPORT void FakeJtag_SetInfo(int32_t result, const uint8_t* record, uint32_t count)
{
    State().InfoResult = result;
    State().InfoRecord.assign(record, record + count);
}

FAKE_EXPORT void FakeJtag_SetWriteHook(TFakeJtagWriteHook hook, void* context)
{
    State().Hook = hook;
    State().HookContext = context;
}

FAKE_EXPORT uint32_t FakeJtag_TakeWritten(uint8_t* buffer, uint32_t room)
{
    const auto& written = State().Written;
    const auto n = static_cast<uint32_t>(std::min<size_t>(room, written.size()));
    std::memcpy(buffer, written.data(), n);
    return n;
}

FAKE_EXPORT uint32_t FakeJtag_WrittenCount()
{
    return static_cast<uint32_t>(State().Written.size());
}

FAKE_EXPORT uint32_t FakeJtag_WriteSize(uint32_t index)
{
    const auto& sizes = State().WriteSizes;
    return index < sizes.size() ? sizes[index] : 0;
}

FAKE_EXPORT void FakeJtag_Counters(TFakeJtagCounters* out)
{
    *out = State().Counters;
}

FAKE_EXPORT const char* FakeJtag_FolderAtOpen()
{
    return State().FolderAtOpen.c_str();
}
