#include "makerlibs/download/KelvaroDownload.h"

#include <algorithm>
#include <string>

#include <unistd.h>

#include "makerlibs/download/ChildProcess.h"
#include "makerlibs/download/ProgrammerFolder.h"
#include "makerlibs/download/QuartusVersion.h"

namespace
{
constexpr int VERSION_LIMIT_MS = 10000;
// Programming may include starting the board's JTAG server; never allow less than this.
constexpr int DOWNLOAD_MIN_LIMIT_MS = 20000;

// The programmer runs in its own folder, so a relative image path must be made whole first.
std::string AbsolutePath(const std::string& path)
{
    if (!path.empty() && path.front() == '/')
        return path;
    char buffer[4096];
    if (::getcwd(buffer, sizeof buffer) == nullptr)
        return path;
    return std::string(buffer) + "/" + path;
}
} // namespace

extern "C" double KELVARO_GetQuatusVersion(void)
{
    const std::string folder = TProgrammerFolder::Find();
    if (folder.empty())
        return 0;
    const TChildResult run = TChildProcess::Run(folder + "/" + TProgrammerFolder::PROGRAMMER_NAME,
                                                {"--version"}, folder, VERSION_LIMIT_MS);
    if (!run.bFinished || run.nExitCode != 0)
        return 0;
    return ParseQuartusVersion(run.sOutput);
}

extern "C" int32_t KELVARO_JtagDownload(const char* imagePath, int32_t limitMs, uint8_t, int32_t,
                                        int32_t, uint8_t, uint8_t)
{
    if (imagePath == nullptr || *imagePath == '\0')
        return 0;
    const std::string folder = TProgrammerFolder::Find();
    if (folder.empty())
        return 0;
    const std::string operation = "p;" + AbsolutePath(imagePath);
    const TChildResult run = TChildProcess::Run(folder + "/" + TProgrammerFolder::PROGRAMMER_NAME,
                                                {"-m", "jtag", "-o", operation}, folder,
                                                std::max(limitMs, DOWNLOAD_MIN_LIMIT_MS));
    return run.bFinished && run.nExitCode == 0 ? 1 : 0;
}

// Never called by the control panel; present so that the library loads, and honest about
// doing nothing.
extern "C" int32_t KELVARO_DownloadEEPROMByByteBlaster(void)
{
    return 0;
}
extern "C" int32_t KELVARO_JtagDownloadByteBlaster(void)
{
    return 0;
}
extern "C" int32_t KELVARO_JtagDownloadChain(void)
{
    return 0;
}
extern "C" int32_t KELVARO_Programming(void)
{
    return 0;
}
extern "C" int32_t KELVARO_DownloadNios2(void)
{
    return 0;
}
extern "C" int32_t KELVARO_DownloadNios2Ex(void)
{
    return 0;
}
extern "C" int32_t KELVARO_FlashProgrammer(void)
{
    return 0;
}
extern "C" int32_t KELVARO_AsDownload(void)
{
    return 0;
}
extern "C" int32_t KELVARO_AsDownloadPV(void)
{
    return 0;
}
extern "C" int32_t KELVARO_IsUsbBlasterDriverReady(void)
{
    return 0;
}
extern "C" int32_t KELVARO_SetQuartusProgrammerPath(void)
{
    return 0;
}
extern "C" int32_t KELVARO_quartus_pgm(void)
{
    return 0;
}
extern "C" int32_t KELVARO_Nios2Terminal(void)
{
    return 0;
}
extern "C" int32_t KELVARO_KillNios2Terminal(void)
{
    return 0;
}
extern "C" int32_t KELVARO_EnableBlasterII(void)
{
    return 0;
}
extern "C" int32_t KELVARO_SetUB2Name(void)
{
    return 0;
}
extern "C" int32_t KELVARO_Jtagconfig(void)
{
    return 0;
}
extern "C" int32_t KELVARO_ExecuteJava(void)
{
    return 0;
}
extern "C" int32_t KELVARO_quartus_hps(void)
{
    return 0;
}
