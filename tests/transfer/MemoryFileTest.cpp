#include "tests/support/ScratchFolder.h"
#include "tests/transfer/FakeMemoryLink.h"

#include "transfer/FileKind.h"
#include "transfer/MemoryFileSink.h"
#include "transfer/MemoryFileSource.h"
#include "transfer/MemoryFileTransfer.h"
#include "transfer/MemoryType.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

class MemoryFile : public ::testing::Test, protected hx9test::TScratchFolder
{
protected:
    // Write to SRAM through the whole path: open checks, then the transfer.
    TFileTransferResult WriteFile(const QString& path, uint32_t wordAddress,
                                  std::optional<uint32_t> wordLength)
    {
        TMemoryFileSource source;
        const TFileTransferResult opened =
            OpenFileForMemory(source, path, Sram(), wordAddress, wordLength);
        if (opened.Result != TOpResult::Done)
            return opened;
        return WriteFileToMemory(m_Link, m_Progress, Sram(), wordAddress, source);
    }

    TFileTransferResult LoadFile(const QString& path, uint32_t wordAddress, uint32_t wordLength)
    {
        TMemoryFileSink sink;
        const TFileTransferResult opened = OpenFileForLoad(sink, path);
        if (opened.Result != TOpResult::Done)
            return opened;
        return LoadMemoryToFile(m_Link, m_Progress, Sram(), wordAddress, wordLength, sink);
    }

    static const TMemoryType& Sram() { return MemoryTypeAt(MEMORY_TYPE_SRAM); }

    TFakeMemoryLink m_Link{SRAM_SIZE_BYTES};
    TRecordingProgress m_Progress;
};

} // namespace

TEST_F(MemoryFile, HexFormatIsChosenByTheExtensionOnly)
{
    EXPECT_TRUE(IsHexFileName("data.Hex"));
    EXPECT_TRUE(IsHexFileName("/a.b/DATA.HEX"));
    EXPECT_FALSE(IsHexFileName("data.hex.bin"));
    EXPECT_FALSE(IsHexFileName("data"));
    EXPECT_FALSE(IsHexFileName("hex"));
}

TEST_F(MemoryFile, FileLengthWritesTheWholeFileAndCountsAnOddByteAsAWord)
{
    const auto outcome = WriteFile(Make("five.bin", "\x01\x02\x03\x04\x05"), 0x10, std::nullopt);
    ASSERT_EQ(outcome.Result, TOpResult::Done);
    EXPECT_EQ(outcome.WordsMoved(), 3u);
    ASSERT_EQ(m_Link.Of('W').size(), 1u);
    EXPECT_EQ(m_Link.Of('W')[0].Address, 0x20u);
    EXPECT_EQ(m_Link.m_Memory[0x24], 5);

    // An odd HEX text: its last byte gets 0 as the low digit.
    const auto hex = WriteFile(Make("abc.hex", "ABC"), 0, std::nullopt);
    ASSERT_EQ(hex.Result, TOpResult::Done);
    EXPECT_EQ(hex.WordsMoved(), 1u);
    EXPECT_EQ(m_Link.m_Memory[0], 0xAB);
    EXPECT_EQ(m_Link.m_Memory[1], 0xC0);
}

TEST_F(MemoryFile, FileLengthStopsAtTheEndOfTheMemory)
{
    const auto outcome = WriteFile(Make("big.bin", QByteArray(64, '\x7F')), 0x3FFF0, std::nullopt);
    ASSERT_EQ(outcome.Result, TOpResult::Done);
    EXPECT_EQ(outcome.BytesMoved, 32u);
    EXPECT_EQ(m_Link.Of('W').back().Address + m_Link.Of('W').back().Length, SRAM_SIZE_BYTES);
}

TEST_F(MemoryFile, EmptyFileSucceedsWithOnlyTheKeepAlive)
{
    const auto outcome = WriteFile(Make("empty.bin", {}), 0, std::nullopt);
    EXPECT_EQ(outcome.Result, TOpResult::Done);
    EXPECT_EQ(outcome.WordsMoved(), 0u);
    ASSERT_EQ(m_Link.Calls.size(), 1u);
    EXPECT_EQ(m_Link.Calls[0].Kind, 'K');
}

TEST_F(MemoryFile, GivenLengthNeedsEnoughFileAndSendsNothingOtherwise)
{
    // Length 2 words from HEX: 8 characters needed, 4 bytes sent.
    const auto ok = WriteFile(Make("eight.hex", "0011aaFFzz"), 0, 2);
    ASSERT_EQ(ok.Result, TOpResult::Done) << "characters past the requested length are not read";
    EXPECT_EQ(m_Link.Of('W')[0].Length, 4u);
    EXPECT_EQ(m_Link.m_Memory[3], 0xFF);

    m_Link.Calls.clear();
    const QString shortFile = Make("short.hex", "0011aaF");
    const auto tooShort = WriteFile(shortFile, 0, 2);
    EXPECT_EQ(tooShort.Result, TOpResult::FileFailed);
    EXPECT_EQ(tooShort.Warning, TFileWarning::TooShort);
    EXPECT_FALSE(tooShort.ShowErrorBox());
    EXPECT_EQ(FileWarningText(tooShort.Warning, shortFile),
              QString("File(%1) size is less than the specified length.").arg(shortFile));
    EXPECT_TRUE(m_Link.Calls.empty());
}

TEST_F(MemoryFile, InvalidHexAnywhereSendsNothingAtAll)
{
    // The bad character sits far past the first chunk: nothing may be sent before it is seen.
    QByteArray text(4 * 0x8000, 'a');
    text[text.size() - 3] = '\n';
    const auto outcome = WriteFile(Make("late.HEX", text), 0, std::nullopt);
    EXPECT_EQ(outcome.Result, TOpResult::FileFailed);
    EXPECT_EQ(outcome.Warning, TFileWarning::InvalidHex);
    EXPECT_TRUE(outcome.ShowErrorBox());
    EXPECT_EQ(FileWarningText(outcome.Warning, "x"), "invalid hex file.");
    EXPECT_TRUE(m_Link.Calls.empty());
}

TEST_F(MemoryFile, MissingFileFailsWithTheErrorBoxOnly)
{
    const auto outcome = WriteFile(Path("nothing.bin"), 0, std::nullopt);
    EXPECT_EQ(outcome.Result, TOpResult::FileFailed);
    EXPECT_EQ(outcome.Warning, TFileWarning::None);
    EXPECT_TRUE(outcome.ShowErrorBox());
    EXPECT_TRUE(m_Link.Calls.empty());
}

TEST_F(MemoryFile, SaveAndLoadRoundTripThroughBinaryAndHex)
{
    for (uint32_t i = 0; i < 0x400; ++i)
        m_Link.m_Memory[0x200 + i] = static_cast<uint8_t>(i * 7);
    const QByteArray expected(reinterpret_cast<const char*>(&m_Link.m_Memory[0x200]), 0x400);

    ASSERT_EQ(LoadFile(Path("out.bin"), 0x100, 0x200).Result, TOpResult::Done);
    EXPECT_EQ(Read(Path("out.bin")), expected);
    ASSERT_EQ(LoadFile(Path("out.hex"), 0x100, 0x200).Result, TOpResult::Done);
    EXPECT_EQ(Read(Path("out.hex")), expected.toHex().toUpper());

    std::fill(m_Link.m_Memory.begin(), m_Link.m_Memory.end(), 0);
    ASSERT_EQ(WriteFile(Path("out.hex"), 0x100, std::nullopt).Result, TOpResult::Done);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&m_Link.m_Memory[0x200]), 0x400), expected);
    std::fill(m_Link.m_Memory.begin(), m_Link.m_Memory.end(), 0);
    ASSERT_EQ(WriteFile(Path("out.bin"), 0x100, 0x200).Result, TOpResult::Done);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&m_Link.m_Memory[0x200]), 0x400), expected);
}

TEST_F(MemoryFile, FailedOrAbortedLoadLeavesTheOldFileAndWritesNoNewOne)
{
    const QString existing = Make("keep.bin", "old content");
    m_Link.FailAtCall = 3; // keep-alive, two chunks, then the read fails
    const auto failed = LoadFile(existing, 0, 0x8000);
    EXPECT_EQ(failed.Result, TOpResult::LinkFailed);
    EXPECT_TRUE(failed.ShowErrorBox());
    EXPECT_EQ(Read(existing), "old content");

    m_Link.FailAtCall = -1;
    m_Progress.AbortAfterPolls = m_Progress.Polls + 2;
    const auto aborted = LoadFile(Path("new.hex"), 0, 0x8000);
    EXPECT_EQ(aborted.Result, TOpResult::Aborted);
    EXPECT_FALSE(aborted.ShowErrorBox());
    EXPECT_FALSE(QFile::exists(Path("new.hex")));
    // No temporary file is left behind either.
    EXPECT_EQ(Entries(), QStringList{"keep.bin"});
}

TEST_F(MemoryFile, UnwritableTargetFailsBeforeAnyBoardTraffic)
{
    const auto outcome = LoadFile(Path("no/such/folder/out.bin"), 0, 1);
    EXPECT_EQ(outcome.Result, TOpResult::FileFailed);
    EXPECT_TRUE(outcome.ShowErrorBox());
    EXPECT_TRUE(m_Link.Calls.empty());
}

// What is not a regular file is never replaced by a rename nor opened blindly: a stream is
// written straight through, a folder or a FIFO as a source is refused before any traffic.
TEST_F(MemoryFile, FifosAndFoldersAreNeverReplacedNorOpenedBlindly)
{
    const QString fifo = Path("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    // No reader: the save fails at once instead of waiting in the open.
    EXPECT_TRUE(LoadFile(fifo, 0, 1).ShowErrorBox());
    TMemoryFileSink orphan;
    ASSERT_FALSE(orphan.Open(fifo));
    EXPECT_EQ(orphan.ErrorString(), QString("nothing reads from it"));

    // With a reader the words stream through, and the FIFO stays a FIFO.
    const int reader = open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    m_Link.m_Memory[0] = 0x34;
    m_Link.m_Memory[1] = 0x12;
    EXPECT_EQ(LoadFile(fifo, 0, 1).Result, TOpResult::Done);
    char bytes[4] = {};
    EXPECT_EQ(read(reader, bytes, sizeof bytes), 2);
    EXPECT_EQ(QByteArray(bytes, 2), QByteArray("\x34\x12"));
    close(reader);
    EXPECT_EQ(FileKindOf(fifo), TFileKind::Stream);

    const struct
    {
        QString Path;
        const char* Reason;
    } sources[] = {{fifo, "it is not a regular file, so its length cannot be checked"},
                   {Path(), "it is a folder"}};
    for (const auto& source : sources)
    {
        TMemoryFileSource file;
        EXPECT_FALSE(file.Open(source.Path, std::nullopt, SRAM_SIZE_BYTES)) << source.Reason;
        EXPECT_EQ(file.ErrorString(), QString(source.Reason));
    }
    TMemoryFileSink folder;
    EXPECT_FALSE(folder.Open(Path()));
    EXPECT_EQ(folder.ErrorString(), QString("it is a folder"));
    EXPECT_EQ(m_Link.Calls.size(), 2u) << "only the keep-alive and the read of the good save";
}

// Random HEX files against a plain model of the format: either exactly the decoded bytes
// reach the memory, or (a bad character, a short file) nothing is sent at all.
TEST_F(MemoryFile, RandomHexFilesSendTheirBytesOrNothing)
{
    constexpr int ROUNDS = 400;
    constexpr int MAX_CHARS = 48;
    const char alphabet[] = "0123456789abcdefABCDEF \n\rgx";
    std::mt19937 random(0x4845584D);
    for (int round = 0; round < ROUNDS; ++round)
    {
        QByteArray text;
        const int length = static_cast<int>(random() % MAX_CHARS);
        const bool clean = random() % 2 == 0; // half the files hold hex digits only
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % (clean ? 22 : sizeof(alphabet) - 1)];
        const uint32_t wordAddress = Sram().Words() - 1 - static_cast<uint32_t>(random() % 16);
        const uint64_t room = SRAM_SIZE_BYTES - 2ull * wordAddress;
        std::optional<uint32_t> words;
        if (random() % 2)
            words = 1 + static_cast<uint32_t>(random() % (room / 2));

        uint64_t bytes = words ? 2ull * *words : std::min<uint64_t>((text.size() + 1) / 2, room);
        const bool tooShort = words && static_cast<uint64_t>(text.size()) < 2 * bytes;
        QByteArray used = text.left(static_cast<qsizetype>(2 * bytes));
        used.append(QByteArray(static_cast<qsizetype>(2 * bytes) - used.size(), '0'));
        const bool valid = !tooShort && QByteArray::fromHex(used).toHex() == used.toLower();

        m_Link.Calls.clear();
        std::fill(m_Link.m_Memory.begin(), m_Link.m_Memory.end(), 0xEE);
        const auto outcome = WriteFile(Make("r.hex", text), wordAddress, words);
        ASSERT_EQ(outcome.Result == TOpResult::Done, valid) << text.toStdString();
        if (!valid)
        {
            ASSERT_TRUE(m_Link.Calls.empty()) << text.toStdString();
            continue;
        }
        const QByteArray written(reinterpret_cast<const char*>(&m_Link.m_Memory[2 * wordAddress]),
                                 static_cast<qsizetype>(bytes));
        ASSERT_EQ(written, QByteArray::fromHex(used)) << text.toStdString();
    }
}
