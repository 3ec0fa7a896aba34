#pragma once

#include "ops/OpResult.h"

#include <QString>
#include <cstdint>

class TMemoryLink;

// What a transfer reports to and asks of its user: the memory panel plugs in its progress
// dialog, hx9ctl a progress line on the terminal and Ctrl-C.
class TTransferProgress
{
public:
    virtual ~TTransferProgress() = default;
    /// Shows a status text ("Process...", then "Finish Percentage: %d%%").
    virtual void SetStatusText(const QString& text) = 0;
    /// Shows the whole-number percentage, 0 to 100.
    virtual void SetPercent(int percent) = 0;
    /// Lets pending window events run between chunks (where an Abort click is seen).
    virtual void ProcessEvents() {}
    /// True once the user asked to abort; read after every chunk.
    virtual bool IsAborted() = 0;
};

// Where a write's bytes come from, in order. Implementations stream from a file.
class TByteSource
{
public:
    virtual ~TByteSource() = default;
    /// Fills exactly count bytes; false when they cannot be had.
    virtual bool ReadBytes(uint8_t* buffer, uint32_t count) = 0;
};

// Where a read's bytes go, in order.
class TByteSink
{
public:
    virtual ~TByteSink() = default;
    /// Takes count bytes; false when they cannot be stored.
    virtual bool WriteBytes(const uint8_t* bytes, uint32_t count) = 0;
};

// How a transfer ended: Done; Aborted (which wins over a failure of the same chunk); the
// board's failure as the link named it (Refused, LinkFailed); FileFailed when the source or
// the sink failed.
struct TTransferResult
{
    TOpResult Result = TOpResult::Done;
    uint32_t BytesMoved = 0;   // bytes that reached the memory, or the sink, before the end
    bool FailedMidway = false; // a keep-alive or chunk write failed after the first keep-alive:
                               // what the memory panel reports as a lost link
};

inline constexpr uint32_t TRANSFER_CHUNK_DIVISOR = 20; // a transfer is cut into N / 20 chunks
inline constexpr int PERCENT_FULL = 100;
// A read chunk (N / 20, no upper limit) passes through a buffer of whole read exchanges, so
// the exchanges are the same as one MemoryRead of the chunk but memory stays bounded.
inline constexpr uint32_t READ_BLOCK_EXCHANGES = 32;

/// "Finish Percentage: %d%%" for percent.
QString FinishPercentageText(int percent);
/// Chunk size of a write of byteCount bytes: N / 20, N when that is 0, at most 32743.
uint32_t WriteChunkSize(uint32_t byteCount);
/// Chunk size of a read of byteCount bytes: N / 20, N when that is 0.
uint32_t ReadChunkSize(uint32_t byteCount);

/// Writes byteCount bytes from source to memory at byteAddress: one KeepAlive, then per
/// chunk a KeepAlive and a MemoryWrite; progress only when the percentage grows; abort
/// checked after each chunk. Chunks already written stay written on failure or abort.
TTransferResult WriteMemoryWithProgress(TMemoryLink& link, TTransferProgress& progress,
                                        uint8_t memoryType, uint32_t byteAddress,
                                        uint32_t byteCount, TByteSource& source);
/// Reads byteCount bytes of memory at byteAddress into sink: one KeepAlive, then the chunks.
/// On failure or abort the sink has received only a prefix; the caller discards it.
TTransferResult ReadMemoryWithProgress(TMemoryLink& link, TTransferProgress& progress,
                                       uint8_t memoryType, uint32_t byteAddress, uint32_t byteCount,
                                       TByteSink& sink);

/// One 16-bit word to word address wordAddress (byte address 2 x wordAddress), low byte
/// first. Done when the board took it.
TOpResult MemoryRandomWrite(TMemoryLink& link, uint8_t memoryType, uint32_t wordAddress,
                            uint16_t data);
/// One 16-bit word from word address wordAddress; value is written only on Done.
TOpResult MemoryRandomRead(TMemoryLink& link, uint8_t memoryType, uint32_t wordAddress,
                           uint16_t& value);
