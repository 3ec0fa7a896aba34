#pragma once

// The FPGA download library's C interface. Two functions work; the other nineteen exist
// because the control panel insists on finding every name, and report failure.

#include <cstdint>

#if defined(_WIN32)
#define KELVARO_EXPORT __declspec(dllexport)
#else
#define KELVARO_EXPORT __attribute__((visibility("default")))
#endif

extern "C"
{
    // The Quartus programmer's version (18.1 for "Version 18.1.0 ..."); 0 = no programmer.
    KELVARO_EXPORT double KELVARO_GetQuatusVersion(void);
    // Programs the image over JTAG, waiting up to limitMs (at least 20 s); nonzero = configured.
    KELVARO_EXPORT int32_t KELVARO_JtagDownload(const char* imagePath, int32_t limitMs, uint8_t,
                                                int32_t, int32_t, uint8_t, uint8_t);

    KELVARO_EXPORT int32_t KELVARO_DownloadEEPROMByByteBlaster(void);
    KELVARO_EXPORT int32_t KELVARO_JtagDownloadByteBlaster(void);
    KELVARO_EXPORT int32_t KELVARO_JtagDownloadChain(void);
    KELVARO_EXPORT int32_t KELVARO_Programming(void);
    KELVARO_EXPORT int32_t KELVARO_DownloadNios2(void);
    KELVARO_EXPORT int32_t KELVARO_DownloadNios2Ex(void);
    KELVARO_EXPORT int32_t KELVARO_FlashProgrammer(void);
    KELVARO_EXPORT int32_t KELVARO_AsDownload(void);
    KELVARO_EXPORT int32_t KELVARO_AsDownloadPV(void);
    KELVARO_EXPORT int32_t KELVARO_IsUsbBlasterDriverReady(void);
    KELVARO_EXPORT int32_t KELVARO_SetQuartusProgrammerPath(void);
    KELVARO_EXPORT int32_t KELVARO_quartus_pgm(void);
    KELVARO_EXPORT int32_t KELVARO_Nios2Terminal(void);
    KELVARO_EXPORT int32_t KELVARO_KillNios2Terminal(void);
    KELVARO_EXPORT int32_t KELVARO_EnableBlasterII(void);
    KELVARO_EXPORT int32_t KELVARO_SetUB2Name(void);
    KELVARO_EXPORT int32_t KELVARO_Jtagconfig(void);
    KELVARO_EXPORT int32_t KELVARO_ExecuteJava(void);
    KELVARO_EXPORT int32_t KELVARO_quartus_hps(void);
}
