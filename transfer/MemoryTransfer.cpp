#include "transfer/MemoryTransfer.h"

#include "board/Board.h"
#include "ops/MemoryOps.h"
#include "transfer/MemoryLink.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace
{

constexpr uint32_t READ_BLOCK_BYTES = READ_BLOCK_EXCHANGES * MEMORY_READ_CHUNK;

// Tracks the last percentage shown so a chunk updates the progress only when it grows.
class TPercentReporter
{
public:
    TPercentReporter(TTransferProgress& progress, uint32_t total)
        : m_Progress(progress), m_Total(total)
    {
    }

    void Report(uint32_t done)
    {
        const int percent = static_cast<int>(static_cast<uint64_t>(done) * PERCENT_FULL / m_Total);
        if (percent > m_Last)
        {
            m_Progress.SetPercent(percent);
            m_Progress.SetStatusText(FinishPercentageText(percent));
            m_Last = percent;
        }
    }

private:
    TTransferProgress& m_Progress;
    uint32_t m_Total;
    int m_Last = -1;
};

bool PollAbort(TTransferProgress& progress)
{
    progress.ProcessEvents();
    return progress.IsAborted();
}

// One read chunk, block by block through buffer into sink; moved counts what the sink took.
TOpResult ReadChunk(TMemoryLink& link, uint8_t memoryType, uint32_t address, uint32_t length,
                    std::vector<uint8_t>& buffer, TByteSink& sink, uint32_t& moved)
{
    uint32_t done = 0;
    while (done < length)
    {
        const uint32_t n = std::min<uint32_t>(READ_BLOCK_BYTES, length - done);
        const TOpResult read = link.MemoryRead(memoryType, address + done, n, buffer.data());
        if (read != TOpResult::Done)
            return read;
        if (!sink.WriteBytes(buffer.data(), n))
            return TOpResult::FileFailed;
        done += n;
        moved += n;
    }
    return TOpResult::Done;
}

// Moves the n bytes at offset of a transfer; the result's BytesMoved and FailedMidway are its
// to update.
using TChunkMove = std::function<TOpResult(uint32_t offset, uint32_t n, TTransferResult& result)>;

const QString PROCESS_TEXT = QStringLiteral("Process...");

// What both directions share: the first keep-alive, then the chunks in order with progress,
// the abort checked after each. A file failure ends the transfer at once.
TTransferResult RunChunks(TMemoryLink& link, TTransferProgress& progress, uint32_t byteCount,
                          uint32_t chunk, const TChunkMove& move)
{
    TTransferResult result;
    progress.SetStatusText(PROCESS_TEXT);
    result.Result = link.KeepAlive();
    TPercentReporter reporter(progress, byteCount);
    uint32_t done = 0;
    while (done < byteCount && result.Result == TOpResult::Done)
    {
        const uint32_t n = std::min(chunk, byteCount - done);
        result.Result = move(done, n, result);
        if (result.Result == TOpResult::FileFailed)
            break;
        done += n;
        reporter.Report(done);
        if (PollAbort(progress))
            result.Result = TOpResult::Aborted;
    }
    return result;
}

} // namespace

QString FinishPercentageText(int percent)
{
    return QString::asprintf("Finish Percentage: %d%%", percent);
}

uint32_t ReadChunkSize(uint32_t byteCount)
{
    const uint32_t chunk = byteCount / TRANSFER_CHUNK_DIVISOR;
    return chunk == 0 ? byteCount : chunk;
}

uint32_t WriteChunkSize(uint32_t byteCount)
{
    return std::min(ReadChunkSize(byteCount), MEMORY_WRITE_CHUNK);
}

TTransferResult WriteMemoryWithProgress(TMemoryLink& link, TTransferProgress& progress,
                                        uint8_t memoryType, uint32_t byteAddress,
                                        uint32_t byteCount, TByteSource& source)
{
    const uint32_t chunk = WriteChunkSize(byteCount);
    std::vector<uint8_t> buffer(chunk);
    return RunChunks(link, progress, byteCount, chunk,
                     [&](uint32_t offset, uint32_t n, TTransferResult& result)
                     {
                         if (!source.ReadBytes(buffer.data(), n))
                             return TOpResult::FileFailed;
                         TOpResult written = link.KeepAlive();
                         if (written == TOpResult::Done)
                             written = link.MemoryWrite(memoryType, byteAddress + offset, n,
                                                        buffer.data());
                         if (written == TOpResult::Done)
                             result.BytesMoved += n;
                         else
                             result.FailedMidway = true;
                         return written;
                     });
}

TTransferResult ReadMemoryWithProgress(TMemoryLink& link, TTransferProgress& progress,
                                       uint8_t memoryType, uint32_t byteAddress, uint32_t byteCount,
                                       TByteSink& sink)
{
    const uint32_t chunk = ReadChunkSize(byteCount);
    std::vector<uint8_t> buffer(std::min(chunk, READ_BLOCK_BYTES));
    return RunChunks(link, progress, byteCount, chunk,
                     [&](uint32_t offset, uint32_t n, TTransferResult& result) {
                         return ReadChunk(link, memoryType, byteAddress + offset, n, buffer, sink,
                                          result.BytesMoved);
                     });
}

TOpResult MemoryRandomWrite(TMemoryLink& link, uint8_t memoryType, uint32_t wordAddress,
                            uint16_t data)
{
    const TMemoryWordBytes bytes = MemoryWordBytes(data);
    return link.MemoryWrite(memoryType, wordAddress * MEMORY_WORD_BYTES, MEMORY_WORD_BYTES,
                            bytes.data());
}

TOpResult MemoryRandomRead(TMemoryLink& link, uint8_t memoryType, uint32_t wordAddress,
                           uint16_t& value)
{
    TMemoryWordBytes bytes{};
    const TOpResult read = link.MemoryRead(memoryType, wordAddress * MEMORY_WORD_BYTES,
                                           MEMORY_WORD_BYTES, bytes.data());
    if (read == TOpResult::Done)
        value = MemoryWordOf(bytes);
    return read;
}
