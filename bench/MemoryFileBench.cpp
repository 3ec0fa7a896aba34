// Prints the speed and the peak memory of saving and loading a memory range through the
// file engine with a board that answers at once, to show that memory stays bounded whatever
// the range. Usage: hx9-bench-memory-file [megabytes] (default: the whole LPDDR2).
#include "tests/transfer/FakeMemoryLink.h"

#include "transfer/MemoryFileSink.h"
#include "transfer/MemoryFileTransfer.h"
#include "transfer/MemoryType.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace
{

constexpr uint32_t BYTES_PER_MB = 1u << 20;

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class TQuietProgress : public TTransferProgress
{
public:
    void SetStatusText(const QString&) override {}
    void SetPercent(int) override {}
    bool IsAborted() override { return false; }
};

void Report(const char* what, uint32_t bytes, qint64 ms, long rssBeforeKb)
{
    const double seconds = ms / 1000.0;
    std::printf("%-22s %6u MB  %7.2f s  %8.1f MB/s  peak RSS %6ld MB (+%ld MB)\n", what,
                bytes / BYTES_PER_MB, seconds, seconds > 0 ? bytes / BYTES_PER_MB / seconds : 0.0,
                PeakRssKb() / 1024, (PeakRssKb() - rssBeforeKb) / 1024);
}

void Run(const char* what, const QString& path, uint32_t words)
{
    const TMemoryType& lpddr2 = MemoryTypeAt(MEMORY_TYPE_LPDDR2);
    TFakeMemoryLink link; // keeps no content: measures the engine and the disk
    TQuietProgress progress;
    const long before = PeakRssKb();
    QElapsedTimer timer;
    timer.start();
    const auto done = [](const TFileTransferResult& result)
    { return result.Result == TOpResult::Done; };
    TMemoryFileSink sink;
    if (!done(OpenFileForLoad(sink, path)) ||
        !done(LoadMemoryToFile(link, progress, lpddr2, 0, words, sink)))
    {
        std::printf("%s: save failed\n", what);
        return;
    }
    Report(what, words * 2, timer.elapsed(), before);

    TMemoryFileSource source;
    timer.restart();
    if (!done(OpenFileForMemory(source, path, lpddr2, 0, std::nullopt)) ||
        !done(WriteFileToMemory(link, progress, lpddr2, 0, source)))
    {
        std::printf("%s: load failed\n", what);
        return;
    }
    Report("  and back to memory", words * 2, timer.elapsed(), before);
}

} // namespace

int main(int argc, char** argv)
{
    const uint32_t megabytes = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10))
                                        : LPDDR2_SIZE_BYTES / BYTES_PER_MB;
    const uint32_t words = std::min(megabytes * BYTES_PER_MB, LPDDR2_SIZE_BYTES) / 2;
    QTemporaryDir dir;
    std::printf("peak RSS at start: %ld MB\n", PeakRssKb() / 1024);
    Run("LPDDR2 to binary file", dir.filePath("lpddr2.bin"), words);
    Run("LPDDR2 to HEX file", dir.filePath("lpddr2.hex"), words);
    return 0;
}
