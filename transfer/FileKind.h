#pragma once

#include <QFile>
#include <QString>

// What a path names, looked at before it is opened: a FIFO or a device must never be opened
// blindly (an open can block for ever) nor replaced by a rename.
enum class TFileKind
{
    Missing,
    Regular, // a regular file, or a link to one
    Folder,
    Stream // anything else: FIFO, character or block device, socket
};

/// The kind of what path names, following links.
TFileKind FileKindOf(const QString& path);
/// Opens an existing stream (FIFO, device) for writing as it is: no truncation, no
/// temporary file, unbuffered so that every write's failure shows at once. Never blocks:
/// a FIFO that nobody reads fails at once. False with the reason in error.
bool OpenStreamForWriting(QFile& file, const QString& path, QString& error);
