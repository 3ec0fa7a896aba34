#include "config/Download.h"

#include "host/Host.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
const char* const LOAD_FAILED_TEXT = "fail to load dll - %s";
const char* const MISSING_API_TEXT =
    "load KELVARO_DOWNLOAD.DLL fail. Cannot find all of desired API";

// Every name the library must export, in the order they are looked up.
const char* const DOWNLOAD_API[] = {
    "KELVARO_DownloadEEPROMByByteBlaster",
    "KELVARO_JtagDownloadByteBlaster",
    "KELVARO_JtagDownload",
    "KELVARO_JtagDownloadChain",
    "KELVARO_Programming",
    "KELVARO_DownloadNios2",
    "KELVARO_DownloadNios2Ex",
    "KELVARO_FlashProgrammer",
    "KELVARO_AsDownload",
    "KELVARO_AsDownloadPV",
    "KELVARO_IsUsbBlasterDriverReady",
    "KELVARO_GetQuatusVersion",
    "KELVARO_SetQuartusProgrammerPath",
    "KELVARO_quartus_pgm",
    "KELVARO_Nios2Terminal",
    "KELVARO_KillNios2Terminal",
    "KELVARO_EnableBlasterII",
    "KELVARO_SetUB2Name",
    "KELVARO_Jtagconfig",
    "KELVARO_ExecuteJava",
    "KELVARO_quartus_hps",
};
} // namespace

TDownload::TDownload(THost& host) : m_Host(host)
{
    const QString path = m_Host.ProgramFolder() + QLatin1String(DOWNLOAD_LIBRARY_FILE);
    // Only the exact file in the program folder counts, never a search-path variant.
    auto module = std::make_unique<QLibrary>(path);
    if (!QFileInfo(path).isFile() || !module->load())
    {
        m_Host.ShowMessage(
            THost::mkError,
            QString::asprintf(LOAD_FAILED_TEXT,
                              QDir::toNativeSeparators(path).toLocal8Bit().constData()));
        return;
    }
    for (const char* name : DOWNLOAD_API)
    {
        if (!module->resolve(name))
        {
            m_Host.ShowMessage(THost::mkError, QLatin1String(MISSING_API_TEXT));
            module->unload();
            return;
        }
    }
    m_pGetQuatusVersion =
        reinterpret_cast<TGetQuatusVersion>(module->resolve("KELVARO_GetQuatusVersion"));
    m_pJtagDownload = reinterpret_cast<TJtagDownload>(module->resolve("KELVARO_JtagDownload"));
    m_pModule = std::move(module);
}

TDownload::~TDownload()
{
    if (m_pModule)
        m_pModule->unload();
}

bool TDownload::IsLoaded() const
{
    return m_pModule != nullptr;
}

double TDownload::QuartusVersion()
{
    if (!m_pModule)
        return 0.0;
    return m_pGetQuatusVersion();
}

bool TDownload::DownloadImage(const QString& imagePath)
{
    if (!m_pModule)
        return false;
    const QByteArray path = QFile::encodeName(imagePath);
    return m_pJtagDownload(path.constData(), DOWNLOAD_ARG_TIMEOUT, DOWNLOAD_ARG_2, DOWNLOAD_ARG_3,
                           DOWNLOAD_ARG_4, DOWNLOAD_ARG_5, DOWNLOAD_ARG_6) != 0;
}
