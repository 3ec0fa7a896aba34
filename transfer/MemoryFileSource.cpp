#include "transfer/MemoryFileSource.h"

#include "transfer/FileKind.h"
#include "transfer/HexText.h"

#include <QFileInfo>
#include <algorithm>

namespace
{
constexpr qint64 HEX_CHECK_BLOCK = 1 << 16;
const QString HEX_SUFFIX = QStringLiteral("hex");
} // namespace

QString FileWarningText(TFileWarning warning, const QString& path)
{
    switch (warning)
    {
    case TFileWarning::None:
        return {};
    case TFileWarning::TooShort:
        return QStringLiteral("File(%1) size is less than the specified length.").arg(path);
    case TFileWarning::ReadError:
        return QStringLiteral("Read file(%1) error.").arg(path);
    case TFileWarning::InvalidHex:
        return QString::fromLatin1(INVALID_HEX_FILE_TEXT);
    case TFileWarning::WriteError:
        return QStringLiteral("Write file(%1) error.").arg(path);
    }
    return {};
}

bool IsHexFileName(const QString& path)
{
    return QFileInfo(path).suffix().compare(HEX_SUFFIX, Qt::CaseInsensitive) == 0;
}

bool TMemoryFileSource::Fail(TFileWarning warning)
{
    m_Warning = warning;
    return false;
}

bool TMemoryFileSource::Open(const QString& path, std::optional<uint64_t> requestedBytes,
                             uint64_t roomBytes)
{
    m_Warning = TFileWarning::None;
    m_OpenError.clear();
    m_File.close();
    m_File.setFileName(path);
    switch (FileKindOf(path))
    {
    case TFileKind::Folder:
        m_OpenError = QStringLiteral("it is a folder");
        return false;
    case TFileKind::Stream:
        m_OpenError = QStringLiteral("it is not a regular file, so its length cannot be checked");
        return false;
    case TFileKind::Missing:
    case TFileKind::Regular:
        break;
    }
    if (!m_File.open(QIODevice::ReadOnly))
        return false;
    m_bHex = IsHexFileName(path);
    const uint64_t fileSize = static_cast<uint64_t>(m_File.size());

    uint64_t bytes = 0;
    if (!requestedBytes)
    {
        // The file's own length, cut at the memory's end; an odd HEX text rounds up.
        const uint64_t fileBytes = m_bHex ? (fileSize + 1) / HEX_CHARS_PER_BYTE : fileSize;
        bytes = std::min(fileBytes, roomBytes);
    }
    else
    {
        bytes = *requestedBytes;
        const uint64_t needed = m_bHex ? bytes * HEX_CHARS_PER_BYTE : bytes;
        if (fileSize < needed)
            return Fail(TFileWarning::TooShort);
    }
    m_ByteCount = static_cast<uint32_t>(bytes);
    m_TextLeft = m_bHex ? static_cast<qint64>(std::min(fileSize, bytes * HEX_CHARS_PER_BYTE)) : 0;
    return !m_bHex || CheckHexText();
}

// Every character is checked before anything is sent, then the file starts over.
bool TMemoryFileSource::CheckHexText()
{
    std::vector<char> block(static_cast<std::size_t>(std::min(m_TextLeft, HEX_CHECK_BLOCK)));
    qint64 left = m_TextLeft;
    while (left > 0)
    {
        const qint64 n = std::min<qint64>(left, static_cast<qint64>(block.size()));
        if (!ReadExactly(block.data(), n))
            return Fail(TFileWarning::ReadError);
        if (!IsHexText(block.data(), static_cast<std::size_t>(n)))
            return Fail(TFileWarning::InvalidHex);
        left -= n;
    }
    if (!m_File.seek(0))
        return Fail(TFileWarning::ReadError);
    return true;
}

bool TMemoryFileSource::ReadExactly(char* buffer, qint64 count)
{
    qint64 done = 0;
    while (done < count)
    {
        const qint64 n = m_File.read(buffer + done, count - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool TMemoryFileSource::ReadBytes(uint8_t* buffer, uint32_t count)
{
    if (!m_bHex)
    {
        if (!ReadExactly(reinterpret_cast<char*>(buffer), count))
            return Fail(TFileWarning::ReadError);
        return true;
    }
    const std::size_t chars = static_cast<std::size_t>(count) * HEX_CHARS_PER_BYTE;
    m_Text.resize(chars);
    const qint64 fromFile = std::min<qint64>(m_TextLeft, static_cast<qint64>(chars));
    if (!ReadExactly(m_Text.data(), fromFile))
        return Fail(TFileWarning::ReadError);
    // An odd-length file's last byte gets 0 as its low digit.
    std::fill(m_Text.begin() + fromFile, m_Text.end(), '0');
    m_TextLeft -= fromFile;
    // The text was checked at Open; a file changed since then is caught here.
    if (!HexTextToBytes(m_Text.data(), chars))
        return Fail(TFileWarning::InvalidHex);
    std::copy_n(m_Text.begin(), count, buffer);
    return true;
}
