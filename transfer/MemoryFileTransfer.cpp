#include "transfer/MemoryFileTransfer.h"

#include "transfer/MemoryFileSink.h"
#include "transfer/MemoryType.h"

namespace
{

constexpr uint64_t WORD_BYTES = 2;

TFileTransferResult FileFailed(TFileWarning warning)
{
    return {{TOpResult::FileFailed}, warning};
}

} // namespace

bool TFileTransferResult::ShowErrorBox() const
{
    return Result != TOpResult::Done && Result != TOpResult::Aborted &&
           Warning != TFileWarning::TooShort && Warning != TFileWarning::ReadError;
}

TFileTransferResult OpenFileForMemory(TMemoryFileSource& source, const QString& path,
                                      const TMemoryType& type, uint32_t wordAddress,
                                      std::optional<uint32_t> wordLength)
{
    const uint64_t room = static_cast<uint64_t>(type.SizeBytes) - WORD_BYTES * wordAddress;
    std::optional<uint64_t> requested;
    if (wordLength)
        requested = WORD_BYTES * *wordLength;
    if (source.Open(path, requested, room))
        return {};
    return FileFailed(source.Warning());
}

TFileTransferResult WriteFileToMemory(TMemoryLink& link, TTransferProgress& progress,
                                      const TMemoryType& type, uint32_t wordAddress,
                                      TMemoryFileSource& source)
{
    const TTransferResult written = WriteMemoryWithProgress(
        link, progress, type.Code, static_cast<uint32_t>(WORD_BYTES * wordAddress),
        source.ByteCount(), source);
    return {written, source.Warning()};
}

TFileTransferResult OpenFileForLoad(TMemoryFileSink& sink, const QString& path)
{
    if (sink.Open(path))
        return {};
    return FileFailed(TFileWarning::None);
}

TFileTransferResult LoadMemoryToFile(TMemoryLink& link, TTransferProgress& progress,
                                     const TMemoryType& type, uint32_t wordAddress,
                                     uint32_t wordLength, TMemoryFileSink& sink)
{
    TFileTransferResult result{ReadMemoryWithProgress(
        link, progress, type.Code, static_cast<uint32_t>(WORD_BYTES * wordAddress),
        static_cast<uint32_t>(WORD_BYTES * wordLength), sink)};
    if (result.Result != TOpResult::Done)
        sink.Cancel();
    else if (!sink.Commit())
        result.Result = TOpResult::FileFailed;
    if (sink.WriteFailed())
        result.Warning = TFileWarning::WriteError;
    return result;
}
