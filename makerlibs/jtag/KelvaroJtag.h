#pragma once

// The JTAG access library's C interface: a byte channel to one board.

#include <cstdint>

#if defined(_WIN32)
#define KELVARO_EXPORT __declspec(dllexport)
#else
#define KELVARO_EXPORT __attribute__((visibility("default")))
#endif

extern "C"
{
    // Opens the link to board cable deviceIndex (only 0 exists); returns a handle, 0 = no link.
    KELVARO_EXPORT uint32_t KELVARO_JtagOpen(int32_t deviceIndex, const char* deviceName);
    // Closes the link; unknown handles are ignored.
    KELVARO_EXPORT void KELVARO_JtagClose(uint32_t handle);
    // Sends the whole buffer; nonzero only when every byte went.
    KELVARO_EXPORT int32_t KELVARO_JtagWrite(uint32_t handle, const uint8_t* bytes, uint32_t count);
    // Places what has arrived (at most room bytes); 0 after waiting ~1 ms for nothing.
    KELVARO_EXPORT int32_t KELVARO_JtagRead(uint32_t handle, uint8_t* buffer, uint32_t room);
    // Fills a 167-byte record, the link's name from byte 112; nonzero = ok.
    KELVARO_EXPORT int32_t KELVARO_JtagGetInfo(uint32_t handle, void* info);
}
