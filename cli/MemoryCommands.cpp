#include "cli/MemoryCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptGuard.h"
#include "cli/TerminalProgress.h"
#include "panels/BoardMemoryLink.h"
#include "panels/MemoryFileSink.h"
#include "panels/MemoryFileSource.h"
#include "panels/MemoryFileTransfer.h"
#include "panels/MemoryText.h"
#include "panels/MemoryTransfer.h"
#include "panels/MemoryType.h"
#include "panels/ops/MemoryOps.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <optional>

namespace
{
constexpr uint64_t WDATA_MAX = 0xFFFF;

QString NameOf(const TMemoryType& type)
{
    return QString::fromLatin1(type.Name);
}

// A word address within the memory.
THexFieldResult ReadAddress(const TMemoryType& type, const QString& word)
{
    return TCliSession::ReadHexArgument(word, QLatin1String(FIELD_ADDRESS), type.Words() - 1, 0);
}

uint32_t Elapsed(const QElapsedTimer& clock)
{
    return static_cast<uint32_t>(clock.elapsed());
}
} // namespace

int TMemoryCommands::Run(const TCliArguments& args)
{
    int index = MEMORY_TYPE_LPDDR2;
    if (args.Memory)
    {
        index = FindMemoryType(*args.Memory);
        if (index < 0)
            return m_Session.UsageError(
                QStringLiteral("mem: unknown memory '%1' (lpddr2 or sram)").arg(*args.Memory));
    }
    const TMemoryType& type = MemoryTypeAt(index);
    const QString action = args.Words.value(0);
    const QStringList words = args.Words.mid(1);
    if (action == QLatin1String("read"))
        return Read(type, words);
    if (action == QLatin1String("write"))
        return Write(type, words);
    if (action == QLatin1String("save"))
        return Save(type, words);
    if (action == QLatin1String("load"))
        return Load(type, words);
    if (action.isEmpty())
        return m_Session.UsageError(QStringLiteral("mem: missing read, write, save or load"));
    return m_Session.UsageError(QStringLiteral("mem: unknown action '%1'").arg(action));
}

int TMemoryCommands::Rejected(const QString& message, const QString& failureText)
{
    m_Session.Console().Error(message);
    m_Session.Console().Error(failureText);
    return EXIT_BAD_ARGUMENTS;
}

int TMemoryCommands::RandomAccess(const std::function<TOpResult(TBoard&)>& access,
                                  const QString& failureText)
{
    if (!m_Session.OpenBoard())
        return EXIT_LINK_FAILURE;
    return m_Session.Report(access(m_Session.Board()), failureText);
}

int TMemoryCommands::Read(const TMemoryType& type, const QStringList& words)
{
    if (words.size() != 1)
        return m_Session.UsageError(QStringLiteral("mem read: expects ADDRESS"));
    const QString failureText = RandomReadResultText(NameOf(type), false);
    const THexFieldResult address = ReadAddress(type, words[0]);
    if (!address.Accepted)
        return Rejected(address.Message, failureText);
    uint16_t value = 0;
    const int status = RandomAccess(
        [&](TBoard& board)
        { return ReadMemoryWord(board, type.Code, static_cast<uint32_t>(address.Value), value); },
        failureText);
    if (status == EXIT_OK)
        m_Session.Console().Out(WordText(value));
    return status;
}

int TMemoryCommands::Write(const TMemoryType& type, const QStringList& words)
{
    if (words.size() != 2)
        return m_Session.UsageError(QStringLiteral("mem write: expects ADDRESS and DATA"));
    const QString failureText = RandomWriteResultText(NameOf(type), false);
    const THexFieldResult address = ReadAddress(type, words[0]);
    if (!address.Accepted)
        return Rejected(address.Message, failureText);
    const THexFieldResult data =
        TCliSession::ReadHexArgument(words[1], QLatin1String(FIELD_WDATA), WDATA_MAX, 0);
    if (!data.Accepted)
        return Rejected(data.Message, failureText);
    return RandomAccess(
        [&](TBoard& board)
        {
            return WriteMemoryWord(board, type.Code, static_cast<uint32_t>(address.Value),
                                   static_cast<uint16_t>(data.Value));
        },
        failureText);
}

int TMemoryCommands::Save(const TMemoryType& type, const QStringList& words)
{
    if (words.size() != 1 && words.size() != 3)
        return m_Session.UsageError(QStringLiteral(
            "mem save: expects FILE, then ADDRESS and LENGTH or nothing (the entire memory)"));
    const QString name = NameOf(type);
    const QString invalid = QLatin1String(READ_INVALID_INPUT_TEXT);
    uint32_t wordAddress = 0;
    uint32_t wordLength = type.Words();
    if (words.size() == 3)
    {
        const THexFieldResult address = ReadAddress(type, words[1]);
        if (!address.Accepted)
            return Rejected(address.Message, invalid);
        wordAddress = static_cast<uint32_t>(address.Value);
        const THexFieldResult length = TCliSession::ReadHexArgument(
            words[2], QLatin1String(FIELD_LENGTH), type.Words() - wordAddress, 1);
        if (!length.Accepted)
            return Rejected(length.Message, invalid);
        wordLength = static_cast<uint32_t>(length.Value);
    }
    // Opening the link moves the current folder: the path is fixed first.
    const QString path = QFileInfo(words[0]).absoluteFilePath();
    TConsole& console = m_Session.Console();
    // From the temporary file's creation on, Ctrl-C must not end the process before the
    // file is dropped; during the transfer it stops it between chunks.
    const TInterruptGuard interrupt;
    TMemoryFileSink sink;
    TFileTransferOutcome outcome;
    if (!OpenFileForLoad(sink, path, outcome))
    {
        console.Error(QStringLiteral("cannot create '%1': %2").arg(path, sink.ErrorString()));
        console.Error(LoadFileResultText(name, false, false, 0));
        return EXIT_BAD_ARGUMENTS;
    }
    if (!m_Session.OpenBoard())
        return EXIT_LINK_FAILURE;
    if (interrupt.IsInterrupted())
    {
        console.Error(LoadFileResultText(name, false, true, 0));
        return EXIT_ABORTED;
    }

    QElapsedTimer clock;
    clock.start();
    console.Info(LoadFileStartText(name));
    {
        TTerminalProgress progress(console, interrupt);
        TBoardMemoryLink link(m_Session.Board());
        outcome = LoadMemoryToFile(link, progress, type, wordAddress, wordLength, sink);
    }
    const QString result = LoadFileResultText(name, outcome.Ok, outcome.Aborted, Elapsed(clock));
    if (outcome.Warning != TFileWarning::None)
        console.Error(FileWarningText(outcome.Warning, path));
    if (outcome.Ok)
    {
        console.Out(result);
        return EXIT_OK;
    }
    console.Error(result);
    if (outcome.Aborted)
        return EXIT_ABORTED;
    return outcome.BoardFailed ? m_Session.FailureStatus() : EXIT_BAD_ARGUMENTS;
}

int TMemoryCommands::Load(const TMemoryType& type, const QStringList& words)
{
    if (words.isEmpty() || words.size() > 3)
        return m_Session.UsageError(QStringLiteral("mem load: expects FILE [ADDRESS [LENGTH]]"));
    const QString name = NameOf(type);
    const QString invalid = QLatin1String(WRITE_INVALID_INPUT_TEXT);
    uint32_t wordAddress = 0;
    std::optional<uint32_t> wordLength;
    if (words.size() >= 2)
    {
        const THexFieldResult address = ReadAddress(type, words[1]);
        if (!address.Accepted)
            return Rejected(address.Message, invalid);
        wordAddress = static_cast<uint32_t>(address.Value);
    }
    if (words.size() == 3)
    {
        const THexFieldResult length = TCliSession::ReadHexArgument(
            words[2], QLatin1String(FIELD_LENGTH), type.Words() - wordAddress, 1);
        if (!length.Accepted)
            return Rejected(length.Message, invalid);
        wordLength = static_cast<uint32_t>(length.Value);
    }
    const QString path = QFileInfo(words[0]).absoluteFilePath();
    TConsole& console = m_Session.Console();
    QElapsedTimer clock;
    clock.start();
    // Ctrl-C from here on stops the command cleanly, before or between chunks.
    const TInterruptGuard interrupt;
    TMemoryFileSource source;
    TFileTransferOutcome outcome;
    if (!OpenFileForMemory(source, path, type, wordAddress, wordLength, outcome))
    {
        if (outcome.Warning != TFileWarning::None)
            console.Error(FileWarningText(outcome.Warning, path));
        else
            console.Error(QStringLiteral("cannot open '%1': %2").arg(path, source.ErrorString()));
        console.Error(WriteFileResultText(name, false, false, Elapsed(clock)));
        return EXIT_BAD_ARGUMENTS;
    }
    if (!m_Session.OpenBoard())
        return EXIT_LINK_FAILURE;
    if (interrupt.IsInterrupted())
    {
        console.Error(WriteFileResultText(name, false, true, 0));
        return EXIT_ABORTED;
    }

    clock.restart();
    console.Info(WriteFileStartText(name));
    {
        TTerminalProgress progress(console, interrupt);
        TBoardMemoryLink link(m_Session.Board());
        outcome = WriteFileToMemory(link, progress, type, wordAddress, source);
    }
    const QString result = WriteFileResultText(name, outcome.Ok, outcome.Aborted, Elapsed(clock));
    if (outcome.Warning != TFileWarning::None)
        console.Error(FileWarningText(outcome.Warning, path));
    if (outcome.Ok)
    {
        console.Out(result);
        if (!wordLength)
            console.Out(QString::asprintf("Length: %X", outcome.WordsWritten()));
        return EXIT_OK;
    }
    console.Error(result);
    if (outcome.Aborted)
        return EXIT_ABORTED;
    return outcome.BoardFailed ? m_Session.FailureStatus() : EXIT_BAD_ARGUMENTS;
}
