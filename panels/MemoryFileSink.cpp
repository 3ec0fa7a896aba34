#include "panels/MemoryFileSink.h"

#include "panels/HexText.h"
#include "panels/MemoryFileSource.h"

bool TMemoryFileSink::Open(const QString& path)
{
    m_bWriteFailed = false;
    m_bHex = IsHexFileName(path);
    m_File.setFileName(path);
    return m_File.open(QIODevice::WriteOnly);
}

bool TMemoryFileSink::WriteBytes(const uint8_t* bytes, uint32_t count)
{
    const char* data = reinterpret_cast<const char*>(bytes);
    qint64 size = count;
    if (m_bHex)
    {
        m_Text.resize(static_cast<std::size_t>(count) * HEX_CHARS_PER_BYTE);
        BytesToHexText(bytes, count, m_Text.data());
        data = m_Text.data();
        size = static_cast<qint64>(m_Text.size());
    }
    if (m_File.write(data, size) != size)
    {
        m_bWriteFailed = true;
        return false;
    }
    return true;
}

bool TMemoryFileSink::Commit()
{
    if (m_bWriteFailed || !m_File.commit())
    {
        m_bWriteFailed = true;
        m_File.cancelWriting();
        return false;
    }
    return true;
}

void TMemoryFileSink::Cancel()
{
    if (m_File.isOpen())
        m_File.cancelWriting();
}
