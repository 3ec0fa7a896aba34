#pragma once

#include "transfer/MemoryTransfer.h"

#include <QFile>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// Why a file could not feed a write to memory; each has its own warning text.
enum class TFileWarning
{
    None,
    TooShort,   // "File(%s) size is less than the specified length."
    ReadError,  // "Read file(%s) error."
    InvalidHex, // "invalid hex file."
    WriteError, // "Write file(%s) error."
};

/// The warning box text for a file warning about path; empty for None.
QString FileWarningText(TFileWarning warning, const QString& path);
/// True when the file name's extension is ".HEX" in any letter case.
bool IsHexFileName(const QString& path);

// A file's content streamed into a write to memory. Open checks everything the transfer
// needs before a byte is sent (size, and every character of a HEX file); ReadBytes then
// hands the bytes out in order, holding only one chunk at a time.
class TMemoryFileSource : public TByteSource
{
public:
    /// Opens path and checks it. Only a regular file is opened: a FIFO, a device or a folder
    /// has no length to check against and could block the open, so it is refused with
    /// ErrorString(). requestedBytes: the bytes to send (2 x length), or none to
    /// send the file's own length cut at roomBytes (the memory left from the address on).
    /// False when the file cannot be opened (no warning) or fails a check (Warning()).
    bool Open(const QString& path, std::optional<uint64_t> requestedBytes, uint64_t roomBytes);
    /// Bytes the transfer will send; valid after a successful Open.
    uint32_t ByteCount() const { return m_ByteCount; }
    /// True for a HEX file.
    bool IsHex() const { return m_bHex; }
    /// The last check or read that failed; None while all went well.
    TFileWarning Warning() const { return m_Warning; }
    /// The system's reason when the file could not be opened or read, for messages.
    QString ErrorString() const
    {
        return m_OpenError.isEmpty() ? m_File.errorString() : m_OpenError;
    }
    /// Next count bytes of the file (decoded for HEX); false, with ReadError, when the file
    /// no longer gives them.
    bool ReadBytes(uint8_t* buffer, uint32_t count) override;

private:
    bool Fail(TFileWarning warning);
    bool CheckHexText();
    bool ReadExactly(char* buffer, qint64 count);

    QFile m_File;
    QString m_OpenError;
    bool m_bHex = false;
    uint32_t m_ByteCount = 0;
    qint64 m_TextLeft = 0; // HEX characters still to read; the rest of the last byte is '0'
    std::vector<char> m_Text;
    TFileWarning m_Warning = TFileWarning::None;
};
