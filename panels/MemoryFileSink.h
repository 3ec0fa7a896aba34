#pragma once

#include "panels/MemoryTransfer.h"

#include <QSaveFile>
#include <QString>
#include <vector>

// A memory range streamed into a file, all or nothing: the bytes go to a temporary file in
// the target folder, which replaces the target only on Commit. Destroying an uncommitted
// sink leaves any existing file untouched and writes no new one.
class TMemoryFileSink : public TByteSink
{
public:
    /// Starts the temporary file for path; HEX text when the extension is ".HEX". False when
    /// it cannot be created (no warning).
    bool Open(const QString& path);
    /// Appends bytes (as "%02X" pairs for HEX); false, with WriteFailed(), when the disk
    /// takes fewer.
    bool WriteBytes(const uint8_t* bytes, uint32_t count) override;
    /// Replaces the target with the temporary file; false, with WriteFailed(), on failure.
    bool Commit();
    /// Drops the temporary file; the target stays as it was.
    void Cancel();
    /// True when a write or the commit failed ("Write file(%s) error.").
    bool WriteFailed() const { return m_bWriteFailed; }
    /// The system's reason for the last failure, for messages.
    QString ErrorString() const { return m_File.errorString(); }

private:
    QSaveFile m_File;
    bool m_bHex = false;
    bool m_bWriteFailed = false;
    std::vector<char> m_Text;
};
