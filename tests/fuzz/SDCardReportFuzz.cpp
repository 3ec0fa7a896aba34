// The SD card's CSD and CID registers as the board sends them, any 16 bytes each: the
// reports keep their shape (one line per field, each starting with '-'), never hold a NUL,
// a control character or a number that overflowed, and never read past the register.
#include "board/SDCardReport.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzInput.h"

#include <QStringList>
#include <array>
#include <memory>

namespace
{
constexpr qsizetype CID_LINES = 6;
constexpr qsizetype CSD_MIN_LINES = 3;
constexpr qsizetype CSD_MAX_LINES = 7;

// The register on the heap at its exact size, so a read past its end is caught.
std::unique_ptr<std::array<uint8_t, SD_REGISTER_LEN>> Register(TFuzzInput& input)
{
    auto reg = std::make_unique<std::array<uint8_t, SD_REGISTER_LEN>>();
    for (auto& b : *reg)
        b = input.Byte();
    return reg;
}

// numeric: every value is a decimal number, so a '-' after the line's first would be a
// number that overflowed (the CID's product name may hold any printable character).
void CheckReport(const QString& report, qsizetype minLines, qsizetype maxLines, bool numeric)
{
    FUZZ_CHECK(report.endsWith(QLatin1Char('\n')));
    const QStringList lines = report.chopped(1).split(QLatin1Char('\n'));
    FUZZ_CHECK(lines.size() >= minLines && lines.size() <= maxLines);
    for (const QString& line : lines)
    {
        FUZZ_CHECK(line.startsWith(QLatin1Char('-')));
        FUZZ_CHECK(!numeric || !line.mid(1).contains(QLatin1Char('-')));
        for (const QChar ch : line)
            FUZZ_CHECK(ch.unicode() >= 0x20 && ch.unicode() != 0x7F);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzInput input(data, size);
    const auto csd = Register(input);
    const auto cid = Register(input);
    CheckReport(FormatCSD(*csd), CSD_MIN_LINES, CSD_MAX_LINES, true);
    CheckReport(FormatCID(*cid), CID_LINES, CID_LINES, false);
    return 0;
}
