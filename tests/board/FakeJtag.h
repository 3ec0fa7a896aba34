#pragma once

#include "tests/board/fakes/FakeJtagControl.h"

#include <QString>
#include <cstdint>
#include <vector>

// Opens a fake JTAG library with dlopen and resolves its control functions. Resets the
// library's state on construction and on destruction.
class TFakeJtag
{
public:
    explicit TFakeJtag(const QString& libraryPath);
    ~TFakeJtag();
    TFakeJtag(const TFakeJtag&) = delete;
    TFakeJtag& operator=(const TFakeJtag&) = delete;

    const TFakeJtagApi& operator*() const { return m_Api; }
    const TFakeJtagApi* operator->() const { return &m_Api; }

    // Queues bytes that are available at once.
    void Queue(const std::vector<uint8_t>& bytes) const;
    // Queues bytes that become available delayMs after the fake clock's present tick.
    void QueueAfter(uint32_t delayMs, const std::vector<uint8_t>& bytes) const;
    std::vector<uint8_t> Written() const;
    TFakeJtagCounters Counters() const;

private:
    void* m_pHandle = nullptr;
    TFakeJtagApi m_Api{};
};

// A frame as the firmware sends it: AA, code, length, payload, checksum, 55.
std::vector<uint8_t> MakeFrame(uint8_t command, const std::vector<uint8_t>& payload);
