#include "cli/MemoryCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliMemoryView.h"
#include "cli/CliSession.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptGuard.h"
#include "cli/TerminalProgress.h"
#include "ops/MemoryOps.h"
#include "transfer/BoardMemoryLink.h"
#include "transfer/MemoryCheck.h"
#include "transfer/MemorySequence.h"
#include "transfer/MemoryText.h"
#include "transfer/MemoryType.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <functional>
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

// The sequence reads bare hex; hx9ctl also takes a 0x prefix.
QString WithoutHexPrefix(const QString& text)
{
    return text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2) : text;
}

// Opening the link moves the current folder: the path is fixed first.
QString AbsolutePath(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

int TMemoryCommands::Run(const TCliArguments& args)
{
    int index = MEMORY_TYPE_LPDDR2;
    if (const std::optional<QString> memory = args.Value(OPTION_MEMORY))
    {
        index = FindMemoryType(*memory);
        if (index < 0)
            return m_Session.UsageError(
                QStringLiteral("mem: unknown memory '%1' (lpddr2 or sram)").arg(*memory));
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
    if (action == QLatin1String("test"))
        return Test(type, words);
    if (action.isEmpty())
        return m_Session.UsageError(QStringLiteral("mem: missing read, write, save, load or test"));
    return m_Session.UsageError(QStringLiteral("mem: unknown action '%1'").arg(action));
}

int TMemoryCommands::Rejected(const QString& message, const QString& failureText)
{
    m_Session.Console().Error(message);
    m_Session.Console().Error(failureText);
    return EXIT_BAD_ARGUMENTS;
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
    const int status = m_Session.OpenAndRun(
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
    return m_Session.OpenAndRun(
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
    std::optional<QString> address;
    std::optional<QString> length;
    if (words.size() == 3)
    {
        address = WithoutHexPrefix(words[1]);
        length = WithoutHexPrefix(words[2]);
    }
    // From the temporary file's creation on, Ctrl-C must not end the process before the
    // file is dropped; during the transfer it stops it between chunks.
    const TInterruptGuard interrupt;
    TCliMemoryView view(m_Session, interrupt, AbsolutePath(words[0]));
    return ExitStatusOf(TMemorySequence(view).LoadFile(type, address, length).Result);
}

int TMemoryCommands::Load(const TMemoryType& type, const QStringList& words)
{
    if (words.isEmpty() || words.size() > 3)
        return m_Session.UsageError(QStringLiteral("mem load: expects FILE [ADDRESS [LENGTH]]"));
    const QString address = words.size() >= 2 ? WithoutHexPrefix(words[1]) : QStringLiteral("0");
    std::optional<QString> length;
    if (words.size() == 3)
        length = WithoutHexPrefix(words[2]);
    // Ctrl-C from here on stops the command cleanly, before or between chunks.
    const TInterruptGuard interrupt;
    TCliMemoryView view(m_Session, interrupt, AbsolutePath(words[0]));
    const TMemoryOutcome outcome = TMemorySequence(view).WriteFile(type, address, length);
    if (outcome.Result == TOpResult::Done && !length)
        m_Session.Console().Out(QString::asprintf("Length: %X", outcome.WordsMoved));
    return ExitStatusOf(outcome.Result);
}

int TMemoryCommands::Test(const TMemoryType& type, const QStringList& words)
{
    if (words.size() == 1 || words.size() > 3)
        return m_Session.UsageError(QStringLiteral("mem test: expects nothing (the entire "
                                                   "memory), or ADDRESS and LENGTH [and SEED]"));
    uint32_t wordAddress = 0;
    uint32_t wordLength = type.Words();
    // A fresh seed unless one is given; odd, so that it is never 0.
    uint32_t seed = QRandomGenerator::global()->generate() | 1;
    if (words.size() >= 2)
    {
        const THexFieldResult address = ReadAddress(type, words[0]);
        if (!address.Accepted)
            return m_Session.UsageError(address.Message);
        wordAddress = static_cast<uint32_t>(address.Value);
        const THexFieldResult length = TCliSession::ReadHexArgument(
            words[1], QLatin1String(FIELD_LENGTH), type.Words() - wordAddress, 1);
        if (!length.Accepted)
            return m_Session.UsageError(length.Message);
        wordLength = static_cast<uint32_t>(length.Value);
    }
    if (words.size() == 3)
    {
        const THexFieldResult given =
            TCliSession::ReadHexArgument(words[2], QStringLiteral("Seed"), UINT32_MAX, 1);
        if (!given.Accepted)
            return m_Session.UsageError(given.Message);
        seed = static_cast<uint32_t>(given.Value);
    }
    return RunTest(type, wordAddress, wordLength, seed);
}

int TMemoryCommands::RunTest(const TMemoryType& type, uint32_t wordAddress, uint32_t wordLength,
                             uint32_t seed)
{
    const TInterruptGuard interrupt;
    if (!m_Session.OpenBoard())
        return EXIT_LINK_FAILURE;
    TBoardMemoryLink link(m_Session.Board());
    TMemoryCheck check(link, type.Code, wordAddress, wordLength);
    const QString at = QString::asprintf("%07X", wordAddress);
    struct TPass
    {
        QString Title;    // heads the pass's lines
        const char* Name; // in the summary
        std::function<TMemoryCheckResult(TTransferProgress&)> Run;
    };
    const TPass passes[] = {
        {QStringLiteral("Data bus, walking one at %1").arg(at), "data bus",
         [&](TTransferProgress&) { return check.DataBus(); }},
        {QStringLiteral("Address bus, %1 lines from %2").arg(check.AddressLines()).arg(at),
         "address bus", [&](TTransferProgress&) { return check.AddressBus(); }},
        {QString::asprintf("Random pattern, seed %X", seed), "random pattern",
         [&](TTransferProgress& progress) { return check.RandomPattern(seed, progress); }},
        {QString::asprintf("Complement pattern, seed %X", seed), "complement pattern",
         [&](TTransferProgress& progress) { return check.Complement(seed, progress); }},
        {QStringLiteral("Own address, low XOR high 16 bits"), "own address",
         [&](TTransferProgress& progress) { return check.OwnAddress(progress); }},
    };

    TConsole& console = m_Session.Console();
    const QString range =
        QString::asprintf("%s %07X-%07X", type.Name, wordAddress, wordAddress + wordLength - 1);
    QStringList failed; // "random pattern 3": the passes that found failing words
    for (const TPass& pass : passes)
    {
        TTerminalProgress progress(console, interrupt);
        const TMemoryCheckResult result = pass.Run(progress);
        if (!ReportPass(pass.Title, result))
        {
            console.Error(QStringLiteral("Memory test of %1: not finished").arg(range));
            return interrupt.IsInterrupted() ? EXIT_ABORTED : m_Session.FailureStatus();
        }
        if (result.FailingWords > 0)
            failed +=
                QStringLiteral("%1 %2").arg(QLatin1String(pass.Name)).arg(result.FailingWords);
    }
    if (!failed.isEmpty())
    {
        console.Out(QStringLiteral("Memory test of %1: FAILED, failing words by pass: %2")
                        .arg(range, failed.join(QStringLiteral(", "))));
        return EXIT_BOARD_FAILURE;
    }
    console.Out(QStringLiteral("Memory test of %1: passed").arg(range));
    return EXIT_OK;
}

bool TMemoryCommands::ReportPass(const QString& pass, const TMemoryCheckResult& result)
{
    TConsole& console = m_Session.Console();
    if (result.Result == TOpResult::Aborted)
        console.Error(pass + QStringLiteral(": aborted"));
    else if (result.Result != TOpResult::Done)
        console.Error(pass + QStringLiteral(": the board failed"));
    else if (result.FailingWords == 0)
        console.Out(pass + QStringLiteral(": pass"));
    else
        console.Out(
            QStringLiteral("%1: FAIL, %2 failing words").arg(pass).arg(result.FailingWords));
    for (const TMemoryFault& fault : result.First)
        console.Out(QStringLiteral("  ") + MemoryFaultText(fault));
    return result.Result == TOpResult::Done;
}
