#pragma once

#include <cstdint>

// Test-control entry points that the fake JTAG library exports beside the five real ones.
// The tests reach them through dlopen of the very file the port loads, so both share state.
extern "C"
{
    using TFakeJtagWriteHook = void (*)(void* context, const uint8_t* bytes, uint32_t count);

    struct TFakeJtagCounters
    {
        uint32_t Opens;
        uint32_t Closes;
        uint32_t Writes;
        uint32_t Reads;
        uint32_t GetInfos;
        uint32_t BadHandleCalls; // calls with a handle other than the one Open gave
        uint64_t BytesDelivered; // bytes handed out by reads
    };

    // The full set of controls, resolved in one go by TFakeJtag.
    struct TFakeJtagApi
    {
        void (*Reset)();
        uint32_t (*Now)();
        void (*SetNow)(uint32_t tick);
        void (*SetReadCost)(uint32_t ms); // clock advance per read call
        void (*QueueAt)(uint32_t readyTick, const uint8_t* bytes, uint32_t count);
        uint32_t (*Pending)();                    // bytes queued and not yet read
        void (*SetEndless)(int32_t byte);         // -1 ends the endless stream
        void (*FailWrites)(uint32_t count);       // the next count writes return 0
        void (*SetNegativeReads)(uint32_t count); // the next count reads return -1
        void (*SetOverlongReads)(uint32_t count); // the next count reads claim room + 7 bytes
        void (*SetOpenHandle)(uint32_t handle);   // 0 makes Open refuse
        void (*SetInfo)(int32_t result, const uint8_t* record, uint32_t count);
        void (*SetWriteHook)(TFakeJtagWriteHook hook, void* context);
        uint32_t (*TakeWritten)(uint8_t* buffer, uint32_t room); // all bytes written so far
        uint32_t (*WrittenCount)();
        uint32_t (*WriteSize)(uint32_t index); // byte count of write call index
        void (*Counters)(TFakeJtagCounters* out);
        const char* (*FolderAtOpen)();
    };
}
