#pragma once

#include "transfer/MemoryLink.h"
#include "transfer/MemoryTransfer.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <vector>

// A memory behind a TMemoryLink that records every command. With a size of 0 it keeps no
// content (reads leave the buffer as it is), for plans over the whole LPDDR2.
class TFakeMemoryLink : public TMemoryLink
{
public:
    struct TCall
    {
        char Kind; // 'K' keep-alive, 'W' write, 'R' read
        uint8_t Type;
        uint32_t Address;
        uint32_t Length;
    };

    explicit TFakeMemoryLink(std::size_t size = 0) : m_Memory(size) {}

    TOpResult KeepAlive() override { return Record({'K', 0, 0, 0}); }
    TOpResult MemoryWrite(uint8_t type, uint32_t address, uint32_t length,
                          const uint8_t* data) override
    {
        const TOpResult result = Record({'W', type, address, length});
        if (result == TOpResult::Done && !m_Memory.empty())
            std::copy_n(data, length, m_Memory.begin() + address);
        return result;
    }
    TOpResult MemoryRead(uint8_t type, uint32_t address, uint32_t length,
                         uint8_t* destination) override
    {
        const TOpResult result = Record({'R', type, address, length});
        if (result == TOpResult::Done && !m_Memory.empty())
            std::copy_n(m_Memory.begin() + address, length, destination);
        return result;
    }

    std::vector<TCall> Calls;
    int FailAtCall = -1;                       // index of the call that fails (and every later one)
    TOpResult Failure = TOpResult::LinkFailed; // what the failing calls answer
    std::vector<uint8_t> m_Memory;

    std::vector<TCall> Of(char kind) const
    {
        std::vector<TCall> out;
        std::copy_if(Calls.begin(), Calls.end(), std::back_inserter(out),
                     [kind](const TCall& c) { return c.Kind == kind; });
        return out;
    }

private:
    TOpResult Record(TCall call)
    {
        Calls.push_back(call);
        const bool fails = FailAtCall >= 0 && static_cast<int>(Calls.size()) > FailAtCall;
        return fails ? Failure : TOpResult::Done;
    }
};

// Records what a transfer shows; aborts after a given number of chunks.
class TRecordingProgress : public TTransferProgress
{
public:
    void SetStatusText(const QString& text) override { Texts << text; }
    void SetPercent(int percent) override { Percents.push_back(percent); }
    void ProcessEvents() override { ++Polls; }
    bool IsAborted() override { return AbortAfterPolls >= 0 && Polls >= AbortAfterPolls; }

    QStringList Texts;
    std::vector<int> Percents;
    int Polls = 0;
    int AbortAfterPolls = -1;
};
