#include "tests/board/FakeJtag.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace
{
template <typename T> void Resolve(void* handle, const char* name, T& target)
{
    target = reinterpret_cast<T>(dlsym(handle, name));
    if (!target)
    {
        std::fprintf(stderr, "fake JTAG library lacks %s\n", name);
        std::abort();
    }
}
} // namespace

TFakeJtag::TFakeJtag(const QString& libraryPath)
{
    m_pHandle = dlopen(libraryPath.toLocal8Bit().constData(), RTLD_NOW);
    if (!m_pHandle)
    {
        // A broken test build, not a test result.
        std::fprintf(stderr, "cannot open fake JTAG library: %s\n", dlerror());
        std::abort();
    }
    Resolve(m_pHandle, "FakeJtag_Reset", m_Api.Reset);
    Resolve(m_pHandle, "FakeJtag_Now", m_Api.Now);
    Resolve(m_pHandle, "FakeJtag_SetNow", m_Api.SetNow);
    Resolve(m_pHandle, "FakeJtag_SetReadCost", m_Api.SetReadCost);
    Resolve(m_pHandle, "FakeJtag_QueueAt", m_Api.QueueAt);
    Resolve(m_pHandle, "FakeJtag_Pending", m_Api.Pending);
    Resolve(m_pHandle, "FakeJtag_SetEndless", m_Api.SetEndless);
    Resolve(m_pHandle, "FakeJtag_FailWrites", m_Api.FailWrites);
    Resolve(m_pHandle, "FakeJtag_SetNegativeReads", m_Api.SetNegativeReads);
    Resolve(m_pHandle, "FakeJtag_SetOverlongReads", m_Api.SetOverlongReads);
    Resolve(m_pHandle, "FakeJtag_SetOpenHandle", m_Api.SetOpenHandle);
    Resolve(m_pHandle, "FakeJtag_SetInfo", m_Api.SetInfo);
    Resolve(m_pHandle, "FakeJtag_SetWriteHook", m_Api.SetWriteHook);
    Resolve(m_pHandle, "FakeJtag_TakeWritten", m_Api.TakeWritten);
    Resolve(m_pHandle, "FakeJtag_WrittenCount", m_Api.WrittenCount);
    Resolve(m_pHandle, "FakeJtag_WriteSize", m_Api.WriteSize);
    Resolve(m_pHandle, "FakeJtag_Counters", m_Api.Counters);
    Resolve(m_pHandle, "FakeJtag_FolderAtOpen", m_Api.FolderAtOpen);
    m_Api.Reset();
}

TFakeJtag::~TFakeJtag()
{
    m_Api.Reset();
    dlclose(m_pHandle);
}

void TFakeJtag::Queue(const std::vector<uint8_t>& bytes) const
{
    QueueAfter(0, bytes);
}

void TFakeJtag::QueueAfter(uint32_t delayMs, const std::vector<uint8_t>& bytes) const
{
    m_Api.QueueAt(m_Api.Now() + delayMs, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

std::vector<uint8_t> TFakeJtag::Written() const
{
    std::vector<uint8_t> bytes(m_Api.WrittenCount());
    m_Api.TakeWritten(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return bytes;
}

TFakeJtagCounters TFakeJtag::Counters() const
{
    TFakeJtagCounters counters{};
    m_Api.Counters(&counters);
    return counters;
}

std::vector<uint8_t> MakeFrame(uint8_t command, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> frame{0xAA, command, static_cast<uint8_t>(payload.size()),
                               static_cast<uint8_t>(payload.size() >> 8)};
    frame.insert(frame.end(), payload.begin(), payload.end());
    uint8_t sum = 0;
    for (size_t i = 1; i < frame.size(); ++i)
        sum = static_cast<uint8_t>(sum + frame[i]);
    frame.push_back(sum);
    frame.push_back(0x55);
    return frame;
}
