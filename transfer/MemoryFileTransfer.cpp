#include "transfer/MemoryFileTransfer.h"

#include "transfer/MemoryFileSink.h"
#include "transfer/MemoryTransfer.h"
#include "transfer/MemoryType.h"

namespace
{

constexpr uint64_t WORD_BYTES = 2;

// A short file or a short read already told the user; any other failure gets the error box.
bool WarningReplacesErrorBox(TFileWarning warning)
{
    return warning == TFileWarning::TooShort || warning == TFileWarning::ReadError;
}

} // namespace

bool OpenFileForMemory(TMemoryFileSource& source, const QString& path, const TMemoryType& type,
                       uint32_t wordAddress, std::optional<uint32_t> wordLength,
                       TFileTransferOutcome& outcome)
{
    const uint64_t room = static_cast<uint64_t>(type.SizeBytes) - WORD_BYTES * wordAddress;
    std::optional<uint64_t> requested;
    if (wordLength)
        requested = WORD_BYTES * *wordLength;
    if (source.Open(path, requested, room))
        return true;
    outcome = {};
    outcome.Warning = source.Warning();
    outcome.ShowErrorBox = !WarningReplacesErrorBox(outcome.Warning);
    return false;
}

TFileTransferOutcome WriteFileToMemory(TMemoryLink& link, TTransferProgress& progress,
                                       const TMemoryType& type, uint32_t wordAddress,
                                       TMemoryFileSource& source)
{
    const TTransferResult result = WriteMemoryWithProgress(
        link, progress, type.Code, static_cast<uint32_t>(WORD_BYTES * wordAddress),
        source.ByteCount(), source);
    TFileTransferOutcome outcome;
    outcome.Ok = result.Ok;
    outcome.Aborted = result.Aborted;
    outcome.LinkFailed = result.LinkFailed;
    outcome.BoardFailed = result.BoardFailed;
    outcome.ByteCount = result.Ok ? source.ByteCount() : 0;
    outcome.Warning = source.Warning();
    outcome.ShowErrorBox =
        !result.Ok && !result.Aborted && !WarningReplacesErrorBox(outcome.Warning);
    return outcome;
}

bool OpenFileForLoad(TMemoryFileSink& sink, const QString& path, TFileTransferOutcome& outcome)
{
    if (sink.Open(path))
        return true;
    outcome = {};
    outcome.ShowErrorBox = true;
    return false;
}

TFileTransferOutcome LoadMemoryToFile(TMemoryLink& link, TTransferProgress& progress,
                                      const TMemoryType& type, uint32_t wordAddress,
                                      uint32_t wordLength, TMemoryFileSink& sink)
{
    const uint32_t byteCount = static_cast<uint32_t>(WORD_BYTES * wordLength);
    const TTransferResult result =
        ReadMemoryWithProgress(link, progress, type.Code,
                               static_cast<uint32_t>(WORD_BYTES * wordAddress), byteCount, sink);
    bool ok = result.Ok;
    if (ok)
        ok = sink.Commit();
    else
        sink.Cancel();

    TFileTransferOutcome outcome;
    outcome.Ok = ok;
    outcome.Aborted = result.Aborted;
    outcome.BoardFailed = result.BoardFailed;
    outcome.ByteCount = ok ? byteCount : 0;
    outcome.Warning = sink.WriteFailed() ? TFileWarning::WriteError : TFileWarning::None;
    outcome.ShowErrorBox = !ok && !result.Aborted;
    return outcome;
}
