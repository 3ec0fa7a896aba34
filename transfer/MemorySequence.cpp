#include "transfer/MemorySequence.h"

#include "transfer/HexField.h"
#include "transfer/MemoryFileSink.h"
#include "transfer/MemoryFileTransfer.h"
#include "transfer/MemoryLink.h"
#include "transfer/MemoryText.h"
#include "transfer/MemoryTransfer.h"
#include "transfer/MemoryType.h"

namespace
{

constexpr uint64_t WDATA_MAX = 0xFFFF;

QString NameOf(const TMemoryType& type)
{
    return QString::fromLatin1(type.Name);
}

TInfoColour ResultColour(TOpResult result)
{
    return result == TOpResult::Done ? TInfoColour::Green : TInfoColour::Red;
}

// The busy state of one operation, left on every way out.
class TBusyScope
{
public:
    explicit TBusyScope(TMemoryView& view) : m_View(view) { m_View.SetBusy(true); }
    ~TBusyScope() { m_View.SetBusy(false); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TMemoryView& m_View;
};

// What a finished file transfer tells the sequence's caller.
void Take(const TFileTransferResult& file, TMemoryOutcome& outcome)
{
    outcome.Result = file.Result;
    outcome.WordsMoved = file.WordsMoved();
    outcome.FailedMidway = file.FailedMidway;
}

} // namespace

bool TMemorySequence::ReadField(const QString& text, const char* fieldName, uint64_t maximum,
                                uint64_t minimum, uint32_t& value)
{
    const THexFieldResult field =
        ReadHexField(text, QString::fromLatin1(fieldName), maximum, minimum);
    if (!field.Accepted)
    {
        m_View.ShowMessage(THost::mkError, field.Message);
        return false;
    }
    value = static_cast<uint32_t>(field.Value);
    return true;
}

bool TMemorySequence::ReadRange(const TMemoryType& type, const QString& addressText,
                                const std::optional<QString>& lengthText, uint32_t& address,
                                std::optional<uint32_t>& length)
{
    const uint32_t words = type.Words();
    if (!ReadField(addressText, FIELD_ADDRESS, words - 1, 0, address))
        return false;
    if (!lengthText)
        return true;
    uint32_t value = 0;
    if (!ReadField(*lengthText, FIELD_LENGTH, words - address, 1, value))
        return false;
    length = value;
    return true;
}

TMemoryOutcome TMemorySequence::RandomWrite(const TMemoryType& type, const QString& addressText,
                                            const QString& dataText)
{
    const QString name = NameOf(type);
    m_View.SetInfo(RandomWriteStartText(name), TInfoColour::Yellow);
    const TBusyScope busy(m_View);
    TMemoryOutcome outcome{TOpResult::BadInput};
    uint32_t address = 0;
    uint32_t data = 0;
    if (ReadField(addressText, FIELD_ADDRESS, type.Words() - 1, 0, address) &&
        ReadField(dataText, FIELD_WDATA, WDATA_MAX, 0, data))
        outcome.Result = m_View.WriteWord(type.Code, address, static_cast<uint16_t>(data));
    m_View.SetInfo(RandomWriteResultText(name, outcome.Result == TOpResult::Done),
                   ResultColour(outcome.Result));
    return outcome;
}

TMemoryOutcome TMemorySequence::RandomRead(const TMemoryType& type, const QString& addressText)
{
    const QString name = NameOf(type);
    m_View.SetInfo(RandomReadStartText(name), TInfoColour::Yellow);
    const TBusyScope busy(m_View);
    TMemoryOutcome outcome{TOpResult::BadInput};
    uint32_t address = 0;
    if (ReadField(addressText, FIELD_ADDRESS, type.Words() - 1, 0, address))
        outcome.Result = m_View.ReadWord(type.Code, address, outcome.Word);
    m_View.SetInfo(RandomReadResultText(name, outcome.Result == TOpResult::Done),
                   ResultColour(outcome.Result));
    return outcome;
}

TMemoryOutcome TMemorySequence::WriteFile(const TMemoryType& type, const QString& addressText,
                                          const std::optional<QString>& lengthText)
{
    const QString name = NameOf(type);
    const TBusyScope busy(m_View);
    m_View.SetInfo(WriteFileStartText(name), TInfoColour::Yellow);
    uint32_t address = 0;
    std::optional<uint32_t> length;
    TMemoryOutcome outcome{TOpResult::BadInput};
    if (!ReadRange(type, addressText, lengthText, address, length))
    {
        m_View.SetInfo(QString::fromLatin1(WRITE_INVALID_INPUT_TEXT), TInfoColour::Red);
        return outcome;
    }
    // The time spent choosing the file counts.
    const uint32_t start = m_View.TickCount();
    const QString path = m_View.AskOpenFile();
    outcome.Result = TOpResult::Aborted;
    bool errorBox = false;
    if (!path.isEmpty())
        errorBox = SendFile(type, address, length, path, outcome);
    outcome.ElapsedMs = m_View.TickCount() - start;
    ShowResult(WriteFileResultText(name, outcome.Result, outcome.ElapsedMs), outcome.Result,
               errorBox);
    return outcome;
}

bool TMemorySequence::SendFile(const TMemoryType& type, uint32_t address,
                               std::optional<uint32_t> length, const QString& path,
                               TMemoryOutcome& outcome)
{
    TMemoryFileSource source;
    TFileTransferResult file = OpenFileForMemory(source, path, type, address, length);
    if (file.Result != TOpResult::Done)
    {
        ShowFileWarning(file.Warning, path,
                        QStringLiteral("cannot open '%1': %2").arg(path, source.ErrorString()));
        outcome.Result = file.Result;
        return file.ShowErrorBox();
    }
    const std::shared_ptr<TMemoryLink> link = m_View.Link();
    if (!link)
    {
        outcome.Result = TOpResult::LinkFailed;
        return false;
    }
    {
        const std::unique_ptr<TTransferProgress> progress = m_View.StartProgress();
        file = WriteFileToMemory(*link, *progress, type, address, source);
    }
    ShowFileWarning(file.Warning, path, QString());
    Take(file, outcome);
    return file.ShowErrorBox();
}

TMemoryOutcome TMemorySequence::LoadFile(const TMemoryType& type,
                                         const std::optional<QString>& addressText,
                                         const std::optional<QString>& lengthText)
{
    const QString name = NameOf(type);
    const TBusyScope busy(m_View);
    const uint32_t start = m_View.TickCount();
    m_View.SetInfo(LoadFileStartText(name), TInfoColour::Yellow);
    uint32_t address = 0;
    std::optional<uint32_t> length = type.Words();
    TMemoryOutcome outcome{TOpResult::BadInput};
    if (addressText &&
        !ReadRange(type, *addressText, lengthText.value_or(QString()), address, length))
    {
        m_View.SetInfo(QString::fromLatin1(READ_INVALID_INPUT_TEXT), TInfoColour::Red);
        return outcome;
    }
    const QString path = m_View.AskSaveFile();
    outcome.Result = TOpResult::Aborted;
    bool errorBox = false;
    if (!path.isEmpty())
        errorBox = SaveFile(type, address, *length, path, outcome);
    outcome.ElapsedMs = m_View.TickCount() - start;
    ShowResult(LoadFileResultText(name, outcome.Result, outcome.ElapsedMs), outcome.Result,
               errorBox);
    return outcome;
}

bool TMemorySequence::SaveFile(const TMemoryType& type, uint32_t address, uint32_t length,
                               const QString& path, TMemoryOutcome& outcome)
{
    TMemoryFileSink sink;
    TFileTransferResult file = OpenFileForLoad(sink, path);
    if (file.Result != TOpResult::Done)
    {
        ShowFileWarning(TFileWarning::None, path,
                        QStringLiteral("cannot create '%1': %2").arg(path, sink.ErrorString()));
        outcome.Result = file.Result;
        return file.ShowErrorBox();
    }
    const std::shared_ptr<TMemoryLink> link = m_View.Link();
    if (!link)
    {
        sink.Cancel();
        outcome.Result = TOpResult::LinkFailed;
        return false;
    }
    {
        const std::unique_ptr<TTransferProgress> progress = m_View.StartProgress();
        file = LoadMemoryToFile(*link, *progress, type, address, length, sink);
    }
    ShowFileWarning(file.Warning, path, QString());
    Take(file, outcome);
    return file.ShowErrorBox();
}

void TMemorySequence::ShowResult(const QString& text, TOpResult result, bool errorBox)
{
    m_View.SetInfo(text, ResultColour(result));
    if (errorBox)
        m_View.ShowMessage(THost::mkError, text);
}

void TMemorySequence::ShowFileWarning(TFileWarning warning, const QString& path,
                                      const QString& openProblem)
{
    if (warning != TFileWarning::None)
        m_View.ShowMessage(THost::mkWarning, FileWarningText(warning, path));
    else if (!openProblem.isEmpty())
        m_View.ShowMessage(THost::mkWarning, openProblem);
}
