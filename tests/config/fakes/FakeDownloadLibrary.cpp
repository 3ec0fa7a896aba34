// A stand-in for the download library: every name exported, the two used ones record their
// arguments and answer what the test set; the rest fail as the real unused ones may.
#include <cstdint>
#include <cstring>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
struct TState
{
    double Version = 18.1;
    int32_t Result = 1;
    uint32_t VersionCalls = 0;
    uint32_t DownloadCalls = 0;
    uint32_t OtherCalls = 0;
    std::string Path;
    int32_t Args[6] = {};
};

TState& State()
{
    static TState state;
    return state;
}
} // namespace

FAKE_EXPORT double KELVARO_GetQuatusVersion()
{
    ++State().VersionCalls;
    return State().Version;
}

FAKE_EXPORT int32_t KELVARO_JtagDownload(const char* imagePath, int32_t a1, uint8_t a2, int32_t a3,
                                         int32_t a4, uint8_t a5, uint8_t a6)
{
    TState& s = State();
    ++s.DownloadCalls;
    s.Path = imagePath ? imagePath : "";
    const int32_t args[6] = {a1, a2, a3, a4, a5, a6};
    std::memcpy(s.Args, args, sizeof args);
    return s.Result;
}

#define FAKE_UNUSED(name)                                                                          \
    FAKE_EXPORT int32_t name()                                                                     \
    {                                                                                              \
        ++State().OtherCalls;                                                                      \
        return 0;                                                                                  \
    }

FAKE_UNUSED(KELVARO_DownloadEEPROMByByteBlaster)
FAKE_UNUSED(KELVARO_JtagDownloadByteBlaster)
FAKE_UNUSED(KELVARO_JtagDownloadChain)
FAKE_UNUSED(KELVARO_Programming)
FAKE_UNUSED(KELVARO_DownloadNios2)
FAKE_UNUSED(KELVARO_DownloadNios2Ex)
FAKE_UNUSED(KELVARO_FlashProgrammer)
FAKE_UNUSED(KELVARO_AsDownload)
FAKE_UNUSED(KELVARO_AsDownloadPV)
FAKE_UNUSED(KELVARO_IsUsbBlasterDriverReady)
FAKE_UNUSED(KELVARO_SetQuartusProgrammerPath)
FAKE_UNUSED(KELVARO_quartus_pgm)
FAKE_UNUSED(KELVARO_Nios2Terminal)
FAKE_UNUSED(KELVARO_KillNios2Terminal)
FAKE_UNUSED(KELVARO_EnableBlasterII)
FAKE_UNUSED(KELVARO_SetUB2Name)
FAKE_UNUSED(KELVARO_Jtagconfig)
FAKE_UNUSED(KELVARO_ExecuteJava)
// The incomplete variant lacks the last name looked up.
#ifndef FAKE_DOWNLOAD_WITHOUT_LAST
FAKE_UNUSED(KELVARO_quartus_hps)
#endif

FAKE_EXPORT void FakeDownload_Reset()
{
    State() = TState{};
}

FAKE_EXPORT void FakeDownload_Set(double version, int32_t result)
{
    State().Version = version;
    State().Result = result;
}

FAKE_EXPORT uint32_t FakeDownload_Calls(uint32_t* versionCalls, uint32_t* otherCalls)
{
    *versionCalls = State().VersionCalls;
    *otherCalls = State().OtherCalls;
    return State().DownloadCalls;
}

FAKE_EXPORT const char* FakeDownload_LastPath(int32_t* args)
{
    std::memcpy(args, State().Args, sizeof State().Args);
    return State().Path.c_str();
}
