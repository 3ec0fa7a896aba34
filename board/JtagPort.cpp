#include "board/JtagPort.h"

#include "host/Host.h"
#include "config/ProgrammerLocation.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace
{
const char* const LOAD_FAILED_TEXT = "fail to load dll - %s";
const char* const MISSING_API_TEXT = "fail to find some API";
} // namespace

TJtagPort::TJtagPort(THost& host, int32_t deviceIndex, const QString& deviceName)
    : m_Host(host), m_DeviceIndex(deviceIndex), m_DeviceName(deviceName.toLocal8Bit())
{
    LoadLibrary();
}

TJtagPort::~TJtagPort()
{
    UnloadLibrary();
}

bool TJtagPort::LoadLibrary()
{
    const QString path = m_Host.ProgramFolder() + QLatin1String(JTAG_LIBRARY_FILE);
    // Only the exact file in the program folder counts, never a search-path variant.
    auto module = std::make_unique<QLibrary>(path);
    if (!QFileInfo(path).isFile() || !module->load())
    {
        m_Host.ShowMessage(
            THost::mkError,
            QString::asprintf(LOAD_FAILED_TEXT,
                              QDir::toNativeSeparators(path).toLocal8Bit().constData()));
        return false;
    }
    m_pOpen = reinterpret_cast<TJtagOpen>(module->resolve("KELVARO_JtagOpen"));
    m_pClose = reinterpret_cast<TJtagClose>(module->resolve("KELVARO_JtagClose"));
    m_pWrite = reinterpret_cast<TJtagWrite>(module->resolve("KELVARO_JtagWrite"));
    m_pRead = reinterpret_cast<TJtagRead>(module->resolve("KELVARO_JtagRead"));
    m_pGetInfo = reinterpret_cast<TJtagGetInfo>(module->resolve("KELVARO_JtagGetInfo"));
    if (!m_pOpen || !m_pClose || !m_pWrite || !m_pRead || !m_pGetInfo)
    {
        m_Host.ShowMessage(THost::mkError, QLatin1String(MISSING_API_TEXT));
        m_pOpen = nullptr;
        m_pClose = nullptr;
        m_pWrite = nullptr;
        m_pRead = nullptr;
        m_pGetInfo = nullptr;
        module->unload();
        return false;
    }
    m_pModule = std::move(module);
    return true;
}

void TJtagPort::UnloadLibrary()
{
    if (m_pModule)
    {
        m_pModule->unload();
        m_pModule.reset();
    }
}

bool TJtagPort::IsLoaded() const
{
    return m_pModule != nullptr;
}

bool TJtagPort::Open()
{
    if (!m_pModule || !m_pOpen)
        return false;
    Close();
    SelectWorkingFolder(m_Host, true);
    m_Handle = m_pOpen(m_DeviceIndex, m_DeviceName.constData());
    SelectWorkingFolder(m_Host, false);
    return m_Handle != 0;
}

void TJtagPort::Close()
{
    if (m_Handle == 0)
        return;
    if (m_pClose)
        m_pClose(m_Handle);
    m_Handle = 0;
}

bool TJtagPort::IsOpen() const
{
    return m_pModule && m_Handle != 0;
}

bool TJtagPort::Write(const uint8_t* bytes, uint32_t count)
{
    if (m_Handle == 0 || !m_pWrite)
        return false;
    return m_pWrite(m_Handle, bytes, count) != 0;
}

int32_t TJtagPort::Read(uint8_t* buffer, uint32_t count, uint32_t limitMs)
{
    if (m_Handle == 0 || !m_pRead)
        return 0;
    const uint32_t start = m_Host.TickCount();
    uint32_t total = 0;
    while (total < count && m_Host.TickCount() - start < limitMs)
    {
        const uint32_t room = count - total;
        const int32_t got = m_pRead(m_Handle, buffer + total, room);
        // A negative answer is nothing read; an answer beyond the room is held to the room
        // so the next call never points past the buffer.
        if (got > 0)
            total += std::min(static_cast<uint32_t>(got), room);
    }
    return static_cast<int32_t>(total);
}

bool TJtagPort::GetInfo(void* record)
{
    if (!m_pModule || m_Handle == 0 || !m_pGetInfo)
        return false;
    return m_pGetInfo(m_Handle, record) != 0;
}
