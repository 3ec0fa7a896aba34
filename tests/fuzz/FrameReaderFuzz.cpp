// The virtual board's frame reader against any byte stream, in any split: it hands on exactly
// the frames a plain left-to-right scan finds, accounts for every byte (handed on, dropped or
// held) and holds no more than one frame's worth while waiting.
#include "tests/fuzz/FrameScan.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzInput.h"
#include "virtualboard/Frame.h"
#include "virtualboard/FrameReader.h"

namespace
{
constexpr size_t MAX_PIECE = 64;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzInput input(data, size);
    const uint8_t splitSeed = input.Byte();
    const std::vector<uint8_t> stream = input.Rest();

    vboard::TFrameReader reader;
    std::vector<TScannedFrame> frames;
    size_t framedBytes = 0;
    const auto onFrame = [&](uint8_t code, const uint8_t* payload, size_t length)
    {
        frames.push_back({code, std::vector<uint8_t>(payload, payload + length)});
        framedBytes += length + PKT_FRAME_OVERHEAD;
    };

    size_t fed = 0;
    for (const size_t piece : PieceSizes(stream.size(), splitSeed, MAX_PIECE))
    {
        reader.Feed(stream.data() + fed, piece, onFrame);
        fed += piece;
        FUZZ_CHECK(reader.DroppedBytes() + framedBytes + reader.PendingBytes() == fed);
        FUZZ_CHECK(reader.PendingBytes() < PKT_PC2NIOS_MAX_PL_LEN + PKT_FRAME_OVERHEAD);
    }
    reader.DiscardIncomplete(onFrame);
    FUZZ_CHECK(reader.PendingBytes() == 0);
    FUZZ_CHECK(reader.DroppedBytes() + framedBytes == stream.size());
    FUZZ_CHECK(frames == ScanFrames(stream, PKT_PC2NIOS_MAX_PL_LEN));
    return 0;
}
