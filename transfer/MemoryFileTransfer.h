#pragma once

#include "transfer/MemoryFileSource.h"

#include <cstdint>
#include <optional>

class TMemoryFileSink;
class TMemoryLink;
class TTransferProgress;
struct TMemoryType;

// How a transfer between a file and a memory ended, and what the user is to be shown:
// first the warning box (when Warning is not None), then the result text, and the result
// text again in an error box when ShowErrorBox.
struct TFileTransferOutcome
{
    bool Ok = false;
    bool Aborted = false;
    bool LinkFailed = false;  // a write to memory lost the link: the panel reports it
    bool BoardFailed = false; // some board command failed (the first keep-alive included)
    uint32_t ByteCount = 0;   // bytes moved by a finished transfer
    TFileWarning Warning = TFileWarning::None;
    bool ShowErrorBox = false;

    /// Words written, an odd last byte counted as a word: what the length field then shows.
    uint32_t WordsWritten() const { return (ByteCount + 1) / 2; }
};

/// Opens path as the content of a write to type from wordAddress: wordLength words, or
/// with none ("File Length") the file's own length cut at the memory's end. Every check runs
/// here, before any board traffic. On failure fills outcome and returns false.
bool OpenFileForMemory(TMemoryFileSource& source, const QString& path, const TMemoryType& type,
                       uint32_t wordAddress, std::optional<uint32_t> wordLength,
                       TFileTransferOutcome& outcome);
/// Streams an opened source to memory (WriteMemoryWithProgress).
TFileTransferOutcome WriteFileToMemory(TMemoryLink& link, TTransferProgress& progress,
                                       const TMemoryType& type, uint32_t wordAddress,
                                       TMemoryFileSource& source);

/// Starts the all-or-nothing save to path. On failure fills outcome and returns false.
bool OpenFileForLoad(TMemoryFileSink& sink, const QString& path, TFileTransferOutcome& outcome);
/// Streams wordLength words of type from wordAddress into the sink and commits it only when
/// everything came; after a failure or an abort an existing file is untouched and no new
/// one is written.
TFileTransferOutcome LoadMemoryToFile(TMemoryLink& link, TTransferProgress& progress,
                                      const TMemoryType& type, uint32_t wordAddress,
                                      uint32_t wordLength, TMemoryFileSink& sink);
