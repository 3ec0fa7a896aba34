#include "transfer/MemoryTransfer.h"

#include "board/Board.h"
#include "ops/MemoryOps.h"
#include "transfer/MemoryLink.h"

#include <algorithm>
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

// One read chunk, block by block through buffer into sink.
bool ReadChunk(TMemoryLink& link, uint8_t memoryType, uint32_t address, uint32_t length,
               std::vector<uint8_t>& buffer, TByteSink& sink, TTransferResult& result)
{
    uint32_t done = 0;
    while (done < length)
    {
        const uint32_t n = std::min<uint32_t>(READ_BLOCK_BYTES, length - done);
        if (!link.MemoryRead(memoryType, address + done, n, buffer.data()))
        {
            result.BoardFailed = true;
            return false;
        }
        if (!sink.WriteBytes(buffer.data(), n))
        {
            result.DataFailed = true;
            return false;
        }
        done += n;
    }
    return true;
}

const QString PROCESS_TEXT = QStringLiteral("Process...");

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
    TTransferResult result;
    progress.SetStatusText(PROCESS_TEXT);
    bool ok = link.KeepAlive();
    result.BoardFailed = !ok;

    const uint32_t chunk = WriteChunkSize(byteCount);
    std::vector<uint8_t> buffer(ok ? chunk : 0);
    TPercentReporter reporter(progress, byteCount);
    uint32_t address = byteAddress;
    uint32_t done = 0;
    bool aborted = false;
    while (done < byteCount && ok && !aborted)
    {
        const uint32_t n = std::min(chunk, byteCount - done);
        if (!source.ReadBytes(buffer.data(), n))
        {
            result.DataFailed = true;
            ok = false;
            break;
        }
        ok = link.KeepAlive();
        if (ok)
            ok = link.MemoryWrite(memoryType, address, n, buffer.data());
        if (!ok)
        {
            result.LinkFailed = true;
            result.BoardFailed = true;
        }
        address += n;
        done += n;
        reporter.Report(done);
        aborted = PollAbort(progress);
    }
    result.Aborted = aborted;
    result.Ok = ok && !aborted;
    return result;
}

TTransferResult ReadMemoryWithProgress(TMemoryLink& link, TTransferProgress& progress,
                                       uint8_t memoryType, uint32_t byteAddress, uint32_t byteCount,
                                       TByteSink& sink)
{
    TTransferResult result;
    progress.SetStatusText(PROCESS_TEXT);
    bool ok = link.KeepAlive();
    result.BoardFailed = !ok;

    const uint32_t chunk = ReadChunkSize(byteCount);
    std::vector<uint8_t> buffer(ok ? std::min(chunk, READ_BLOCK_BYTES) : 0);
    TPercentReporter reporter(progress, byteCount);
    uint32_t address = byteAddress;
    uint32_t done = 0;
    bool aborted = false;
    while (done < byteCount && ok && !aborted)
    {
        const uint32_t n = std::min(chunk, byteCount - done);
        ok = ReadChunk(link, memoryType, address, n, buffer, sink, result);
        address += n;
        done += n;
        reporter.Report(done);
        aborted = PollAbort(progress);
    }
    result.Aborted = aborted;
    result.Ok = ok && !aborted;
    return result;
}

bool MemoryRandomWrite(TMemoryLink& link, uint8_t memoryType, uint32_t wordAddress, uint16_t data)
{
    const TMemoryWordBytes bytes = MemoryWordBytes(data);
    return link.MemoryWrite(memoryType, wordAddress * MEMORY_WORD_BYTES, MEMORY_WORD_BYTES,
                            bytes.data());
}

bool MemoryRandomRead(TMemoryLink& link, uint8_t memoryType, uint32_t wordAddress, uint16_t& value)
{
    TMemoryWordBytes bytes{};
    if (!link.MemoryRead(memoryType, wordAddress * MEMORY_WORD_BYTES, MEMORY_WORD_BYTES,
                         bytes.data()))
        return false;
    value = MemoryWordOf(bytes);
    return true;
}
