#include "transfer/MemoryFileSink.h"

#include "transfer/FileKind.h"
#include "transfer/HexText.h"
#include "transfer/MemoryFileSource.h"

bool TMemoryFileSink::Open(const QString& path)
{
    m_bWriteFailed = false;
    m_OpenError.clear();
    m_bHex = IsHexFileName(path);
    switch (FileKindOf(path))
    {
    case TFileKind::Folder:
        m_OpenError = QStringLiteral("it is a folder");
        return false;
    case TFileKind::Stream:
        m_bStream = true;
        return OpenStreamForWriting(m_Stream, path, m_OpenError);
    case TFileKind::Missing:
    case TFileKind::Regular:
        break;
    }
    m_bStream = false;
    // Never write in place: a failed save must leave the old file as it was.
    m_File.setDirectWriteFallback(false);
    m_File.setFileName(path);
    return m_File.open(QIODevice::WriteOnly);
}

QFileDevice& TMemoryFileSink::Device()
{
    if (m_bStream)
        return m_Stream;
    return m_File;
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
    if (Device().write(data, size) != size)
    {
        m_bWriteFailed = true;
        return false;
    }
    return true;
}

bool TMemoryFileSink::Commit()
{
    if (m_bStream)
    {
        if (m_bWriteFailed || !m_Stream.flush())
            m_bWriteFailed = true;
        m_Stream.close();
        return !m_bWriteFailed;
    }
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
    if (m_bStream)
        m_Stream.close();
    else if (m_File.isOpen())
        m_File.cancelWriting();
}

QString TMemoryFileSink::ErrorString() const
{
    if (!m_OpenError.isEmpty())
        return m_OpenError;
    return m_bStream ? m_Stream.errorString() : m_File.errorString();
}
