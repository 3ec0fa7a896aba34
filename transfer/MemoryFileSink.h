#pragma once

#include "transfer/MemoryTransfer.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <vector>

// A memory range streamed into a file, all or nothing: the bytes go to a temporary file in
// the target folder, which replaces the target only on Commit. Destroying an uncommitted
// sink leaves any existing file untouched and writes no new one.
// A target that exists and is no regular file (a FIFO, a device) is never replaced: the bytes
// are written straight to it, as to a stream, and a failed write ends the transfer.
class TMemoryFileSink : public TByteSink
{
public:
    /// Starts the temporary file for path (or opens the stream); HEX text when the extension
    /// is ".HEX". False, with ErrorString(), when it cannot be created or path is a folder.
    bool Open(const QString& path);
    /// Appends bytes (as "%02X" pairs for HEX); false, with WriteFailed(), when the disk
    /// takes fewer.
    bool WriteBytes(const uint8_t* bytes, uint32_t count) override;
    /// Replaces the target with the temporary file (or ends the stream); false, with
    /// WriteFailed(), on failure.
    bool Commit();
    /// Drops the temporary file; the target stays as it was.
    void Cancel();
    /// True when a write or the commit failed ("Write file(%s) error.").
    bool WriteFailed() const { return m_bWriteFailed; }
    /// The system's reason for the last failure, for messages.
    QString ErrorString() const;

private:
    QFileDevice& Device();

    QSaveFile m_File;
    QFile m_Stream;
    bool m_bStream = false;
    bool m_bHex = false;
    bool m_bWriteFailed = false;
    QString m_OpenError;
    std::vector<char> m_Text;
};
