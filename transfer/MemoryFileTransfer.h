#pragma once

#include "transfer/MemoryFileSource.h"
#include "transfer/MemoryTransfer.h"

#include <cstdint>
#include <optional>

class TMemoryFileSink;
class TMemoryLink;
class TTransferProgress;
struct TMemoryType;

// How a transfer between a file and a memory ended, and what the user is to be shown: first
// the warning box (when Warning is not None), then the result text, and the result text
// again in an error box when ShowErrorBox(). A file that could not be used is FileFailed.
struct TFileTransferResult : TTransferResult
{
    TFileWarning Warning = TFileWarning::None;

    /// A failure that no warning has told already: a short file or a short read has.
    bool ShowErrorBox() const;
    /// Words moved, an odd last byte counted as a word: what the length field shows after a
    /// write of the file's own length.
    uint32_t WordsMoved() const { return (BytesMoved + 1) / 2; }
};

/// Opens path as the content of a write to type from wordAddress: wordLength words, or
/// with none ("File Length") the file's own length cut at the memory's end. Every check runs
/// here, before any board traffic: Done, or FileFailed with the warning.
TFileTransferResult OpenFileForMemory(TMemoryFileSource& source, const QString& path,
                                      const TMemoryType& type, uint32_t wordAddress,
                                      std::optional<uint32_t> wordLength);
/// Streams an opened source to memory (WriteMemoryWithProgress).
TFileTransferResult WriteFileToMemory(TMemoryLink& link, TTransferProgress& progress,
                                      const TMemoryType& type, uint32_t wordAddress,
                                      TMemoryFileSource& source);

/// Starts the all-or-nothing save to path: Done, or FileFailed.
TFileTransferResult OpenFileForLoad(TMemoryFileSink& sink, const QString& path);
/// Streams wordLength words of type from wordAddress into the sink and commits it only when
/// everything came; after a failure or an abort an existing file is untouched and no new
/// one is written.
TFileTransferResult LoadMemoryToFile(TMemoryLink& link, TTransferProgress& progress,
                                     const TMemoryType& type, uint32_t wordAddress,
                                     uint32_t wordLength, TMemoryFileSink& sink);
