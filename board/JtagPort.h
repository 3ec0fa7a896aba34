#pragma once

#include <QByteArray>
#include <QLibrary>
#include <QString>
#include <cstdint>
#include <memory>

class THost;

// File name of the maker's JTAG access library in the program folder.
#ifdef _WIN32
inline constexpr const char* JTAG_LIBRARY_FILE = "KELVARO_JTAG.DLL";
#else
inline constexpr const char* JTAG_LIBRARY_FILE = "KELVARO_JTAG.so";
#endif

// One JTAG byte channel to the board firmware, carried by the JTAG access library.
// Knows nothing of frames; TBoard builds one per connection.
class TJtagPort
{
public:
    using TJtagOpen = uint32_t (*)(int32_t deviceIndex, const char* deviceName);
    using TJtagClose = void (*)(uint32_t handle);
    using TJtagWrite = int32_t (*)(uint32_t handle, const uint8_t* bytes, uint32_t count);
    using TJtagRead = int32_t (*)(uint32_t handle, uint8_t* buffer, uint32_t room);
    using TJtagGetInfo = int32_t (*)(uint32_t handle, void* info);

    /// Loads the library from the program folder; on failure shows "fail to load dll - %s"
    /// or "fail to find some API" through the host and yields a port that never opens.
    TJtagPort(THost& host, int32_t deviceIndex, const QString& deviceName);
    /// Unloads the library; does not close the link (the owner closes first).
    ~TJtagPort();
    TJtagPort(const TJtagPort&) = delete;
    TJtagPort& operator=(const TJtagPort&) = delete;

    /// Closes any earlier link and opens one with the programmer's folder as current folder;
    /// the program folder is current again afterwards. False when no link came up.
    bool Open();
    /// Closes the link when one is open; nothing otherwise.
    void Close();
    /// True while the library is loaded and a link handle is held.
    bool IsOpen() const;
    /// True when the library was loaded with all five entry points.
    bool IsLoaded() const;
    /// Sends the whole buffer in one library call; false when closed or the library refuses.
    bool Write(const uint8_t* bytes, uint32_t count);
    /// Reads up to count bytes until count arrived or limitMs passed; returns the bytes read
    /// (0 when closed). The limit is checked before every library call.
    int32_t Read(uint8_t* buffer, uint32_t count, uint32_t limitMs);
    /// Fills the caller's info record (room for JTAG_INFO_SIZE bytes); false when closed or
    /// the library reports failure.
    bool GetInfo(void* record);

private:
    bool LoadLibrary();
    void UnloadLibrary();

    THost& m_Host;
    std::unique_ptr<QLibrary> m_pModule;
    uint32_t m_Handle = 0;
    int32_t m_DeviceIndex;
    QByteArray m_DeviceName;
    TJtagOpen m_pOpen = nullptr;
    TJtagClose m_pClose = nullptr;
    TJtagWrite m_pWrite = nullptr;
    TJtagRead m_pRead = nullptr;
    TJtagGetInfo m_pGetInfo = nullptr;
};
