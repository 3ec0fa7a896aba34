#pragma once

#include <QLibrary>
#include <QString>
#include <cstdint>
#include <memory>

class THost;

// File name of the maker's download library in the program folder.
#ifdef _WIN32
inline constexpr const char* DOWNLOAD_LIBRARY_FILE = "KELVARO_DOWNLOAD.DLL";
#else
inline constexpr const char* DOWNLOAD_LIBRARY_FILE = "KELVARO_DOWNLOAD.so";
#endif

// Fixed arguments that follow the image path in the library's JTAG download.
inline constexpr int32_t DOWNLOAD_ARG_TIMEOUT = 20000;
inline constexpr uint8_t DOWNLOAD_ARG_2 = 0;
inline constexpr int32_t DOWNLOAD_ARG_3 = 0;
inline constexpr int32_t DOWNLOAD_ARG_4 = 0;
inline constexpr uint8_t DOWNLOAD_ARG_5 = 0;
inline constexpr uint8_t DOWNLOAD_ARG_6 = 1;

// The maker's download library, loaded for one FPGA configuration.
class TDownload
{
public:
    using TGetQuatusVersion = double (*)();
    using TJtagDownload = int32_t (*)(const char* imagePath, int32_t, uint8_t, int32_t, int32_t,
                                      uint8_t, uint8_t);

    /// Loads the library from the program folder with all 21 entry points; on failure shows
    /// "fail to load dll - %s" or "load KELVARO_DOWNLOAD.DLL fail. Cannot find all of desired
    /// API" through the host and stays unloaded.
    explicit TDownload(THost& host);
    /// Unloads the library.
    ~TDownload();
    TDownload(const TDownload&) = delete;
    TDownload& operator=(const TDownload&) = delete;

    /// True when the library is loaded with every entry point.
    bool IsLoaded() const;
    /// The programmer's version; 0 means no programmer, and 0 without a call when not loaded.
    double QuartusVersion();
    /// Configures the FPGA with the image file; false when not loaded or the library fails.
    bool DownloadImage(const QString& imagePath);

private:
    THost& m_Host;
    std::unique_ptr<QLibrary> m_pModule;
    TGetQuatusVersion m_pGetQuatusVersion = nullptr;
    TJtagDownload m_pJtagDownload = nullptr;
};
