// The memory panel's file reader against any file content: the HEX text functions agree
// with a plain digit-by-digit reading, and a file source opened on the content sends exactly
// the bytes the file holds (decoded for HEX), refuses what it must with the right warning,
// and never reads past its buffers.
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzInput.h"
#include "transfer/HexText.h"
#include "transfer/MemoryFileSource.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <memory>

namespace
{
using TBytes = std::vector<uint8_t>;

constexpr uint8_t FLAG_HEX = 0x01;
constexpr uint8_t FLAG_LENGTH_GIVEN = 0x02;
constexpr uint8_t FLAG_UPPER_SUFFIX = 0x04;
constexpr uint8_t MAX_READ_CHUNK = 64;

// Value of one digit the slow way; -1 for anything else.
int DigitOf(uint8_t ch)
{
    static const char digits[] = "0123456789abcdef";
    if (ch == 0)
        return -1;
    const char* at = std::strchr(digits, std::tolower(ch));
    return at ? static_cast<int>(at - digits) : -1;
}

bool AllDigits(const TBytes& text, size_t count)
{
    return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count),
                       [](uint8_t ch) { return DigitOf(ch) >= 0; });
}

// Digit pairs to bytes; a last lone digit is the high half of its byte.
TBytes Decode(const TBytes& text, size_t count)
{
    TBytes bytes;
    for (size_t i = 0; i < count; i += 2)
    {
        const int low = i + 1 < count ? DigitOf(text[i + 1]) : 0;
        bytes.push_back(static_cast<uint8_t>(DigitOf(text[i]) << 4 | low));
    }
    return bytes;
}

void CheckHexText(const TBytes& text)
{
    const size_t n = text.size();
    const bool valid = AllDigits(text, n);
    FUZZ_CHECK(IsHexText(reinterpret_cast<const char*>(text.data()), n) == valid);
    // Converted in place, in a buffer of exactly the text's size.
    const auto buffer = std::make_unique<char[]>(n + 1);
    std::copy(text.begin(), text.end(), buffer.get());
    FUZZ_CHECK(HexTextToBytes(buffer.get(), n) == valid);
    if (!valid)
        return;
    const TBytes decoded = Decode(text, n);
    FUZZ_CHECK(
        std::equal(decoded.begin(), decoded.end(), reinterpret_cast<uint8_t*>(buffer.get())));

    const size_t whole = n / 2;
    const auto written = std::make_unique<char[]>(2 * whole + 1);
    BytesToHexText(decoded.data(), whole, written.get());
    for (size_t i = 0; i < 2 * whole; ++i)
        FUZZ_CHECK(written[i] == std::toupper(text[i]));
}

QString WriteFile(const TBytes& content, uint8_t flags)
{
    static QTemporaryDir folder;
    QString suffix = (flags & FLAG_HEX) ? QStringLiteral(".hex") : QStringLiteral(".bin");
    if (flags & FLAG_UPPER_SUFFIX)
        suffix = suffix.toUpper();
    const QString path = folder.filePath(QStringLiteral("input") + suffix);
    // A new file each time: truncating one that holds data makes some file systems flush it.
    QFile::remove(path);
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(content.data()),
              static_cast<std::streamsize>(content.size()));
    return path;
}

struct TExpected
{
    bool TooShort = false;
    uint64_t Bytes = 0;
    uint64_t TextChars = 0; // HEX characters read from the file
};

// What the source must make of the file, from its documented contract.
TExpected Expect(bool hex, uint64_t size, std::optional<uint64_t> requested, uint64_t room)
{
    TExpected e;
    if (requested)
    {
        e.TooShort = size < (hex ? 2 * *requested : *requested);
        e.Bytes = *requested;
    }
    else
        e.Bytes = std::min(hex ? (size + 1) / 2 : size, room);
    e.TextChars = hex ? std::min(size, 2 * e.Bytes) : 0;
    return e;
}

void CheckFileSource(const TBytes& content, uint8_t flags, uint16_t amount, uint8_t chunkByte)
{
    const bool hex = flags & FLAG_HEX;
    const std::optional<uint64_t> requested =
        (flags & FLAG_LENGTH_GIVEN) ? std::optional<uint64_t>(amount) : std::nullopt;
    const TExpected e = Expect(hex, content.size(), requested, amount);
    const bool validText = AllDigits(content, e.TextChars);

    TMemoryFileSource source;
    const bool opened = source.Open(WriteFile(content, flags), requested, amount);
    FUZZ_CHECK(opened == (!e.TooShort && validText));
    if (!opened)
    {
        FUZZ_CHECK(source.Warning() ==
                   (e.TooShort ? TFileWarning::TooShort : TFileWarning::InvalidHex));
        return;
    }
    FUZZ_CHECK(source.IsHex() == hex);
    FUZZ_CHECK(source.ByteCount() == e.Bytes);

    TBytes expected =
        hex ? Decode(content, e.TextChars)
            : TBytes(content.begin(), content.begin() + static_cast<std::ptrdiff_t>(e.Bytes));
    expected.resize(e.Bytes, 0); // digits past the file's end read as '0'
    const uint32_t chunk = 1 + chunkByte % MAX_READ_CHUNK;
    for (uint32_t done = 0; done < e.Bytes; done += chunk)
    {
        const uint32_t n = std::min<uint32_t>(chunk, static_cast<uint32_t>(e.Bytes - done));
        const auto buffer = std::make_unique<uint8_t[]>(n);
        FUZZ_CHECK(source.ReadBytes(buffer.get(), n));
        FUZZ_CHECK(std::equal(buffer.get(), buffer.get() + n, expected.begin() + done));
    }
    FUZZ_CHECK(source.Warning() == TFileWarning::None);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzInput input(data, size);
    const uint8_t flags = input.Byte();
    const uint16_t amount = input.U16();
    const uint8_t chunkByte = input.Byte();
    const TBytes content = input.Rest();
    CheckHexText(content);
    CheckFileSource(content, flags, amount, chunkByte);
    return 0;
}
