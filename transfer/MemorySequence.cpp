#include "transfer/MemorySequence.h"

#include "transfer/HexField.h"
#include "transfer/MemoryFileSink.h"
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

TInfoColour ResultColour(bool ok)
{
    return ok ? TInfoColour::Green : TInfoColour::Red;
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
    TMemoryOutcome outcome;
    uint32_t address = 0;
    uint32_t data = 0;
    if (ReadField(addressText, FIELD_ADDRESS, type.Words() - 1, 0, address) &&
        ReadField(dataText, FIELD_WDATA, WDATA_MAX, 0, data))
    {
        outcome.Ok = m_View.WriteWord(type.Code, address, static_cast<uint16_t>(data));
        outcome.BoardFailed = !outcome.Ok;
    }
    else
    {
        outcome.Rejected = true;
    }
    m_View.SetInfo(RandomWriteResultText(name, outcome.Ok), ResultColour(outcome.Ok));
    return outcome;
}

TMemoryOutcome TMemorySequence::RandomRead(const TMemoryType& type, const QString& addressText)
{
    const QString name = NameOf(type);
    m_View.SetInfo(RandomReadStartText(name), TInfoColour::Yellow);
    const TBusyScope busy(m_View);
    TMemoryOutcome outcome;
    uint32_t address = 0;
    if (ReadField(addressText, FIELD_ADDRESS, type.Words() - 1, 0, address))
    {
        outcome.Ok = m_View.ReadWord(type.Code, address, outcome.Word);
        outcome.BoardFailed = !outcome.Ok;
    }
    else
    {
        outcome.Rejected = true;
    }
    m_View.SetInfo(RandomReadResultText(name, outcome.Ok), ResultColour(outcome.Ok));
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
    TMemoryOutcome outcome;
    if (!ReadRange(type, addressText, lengthText, address, length))
    {
        m_View.SetInfo(QString::fromLatin1(WRITE_INVALID_INPUT_TEXT), TInfoColour::Red);
        outcome.Rejected = true;
        return outcome;
    }
    // The time spent choosing the file counts.
    const uint32_t start = m_View.TickCount();
    const QString path = m_View.AskOpenFile();
    bool errorBox = false;
    if (path.isEmpty())
        outcome.Aborted = true;
    else
        errorBox = SendFile(type, address, length, path, outcome);
    const QString result =
        WriteFileResultText(name, outcome.Ok, outcome.Aborted, m_View.TickCount() - start);
    m_View.SetInfo(result, ResultColour(outcome.Ok));
    if (errorBox)
        m_View.ShowMessage(THost::mkError, result);
    return outcome;
}

bool TMemorySequence::SendFile(const TMemoryType& type, uint32_t address,
                               std::optional<uint32_t> length, const QString& path,
                               TMemoryOutcome& outcome)
{
    TMemoryFileSource source;
    TFileTransferOutcome file;
    if (!OpenFileForMemory(source, path, type, address, length, file))
    {
        ShowFileWarning(file.Warning, path,
                        QStringLiteral("cannot open '%1': %2").arg(path, source.ErrorString()));
        return file.ShowErrorBox;
    }
    const std::shared_ptr<TMemoryLink> link = m_View.Link();
    if (!link)
    {
        outcome.NoLink = true;
        return false;
    }
    {
        const std::unique_ptr<TTransferProgress> progress = m_View.StartProgress();
        file = WriteFileToMemory(*link, *progress, type, address, source);
    }
    ShowFileWarning(file.Warning, path, QString());
    outcome.Ok = file.Ok;
    outcome.Aborted = file.Aborted;
    outcome.LinkFailed = file.LinkFailed;
    outcome.BoardFailed = file.BoardFailed;
    outcome.WordsWritten = file.WordsWritten();
    return file.ShowErrorBox;
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
    TMemoryOutcome outcome;
    if (addressText &&
        !ReadRange(type, *addressText, lengthText.value_or(QString()), address, length))
    {
        m_View.SetInfo(QString::fromLatin1(READ_INVALID_INPUT_TEXT), TInfoColour::Red);
        outcome.Rejected = true;
        return outcome;
    }
    const QString path = m_View.AskSaveFile();
    bool errorBox = false;
    if (path.isEmpty())
        outcome.Aborted = true;
    else
        errorBox = SaveFile(type, address, *length, path, outcome);
    const QString result =
        LoadFileResultText(name, outcome.Ok, outcome.Aborted, m_View.TickCount() - start);
    m_View.SetInfo(result, ResultColour(outcome.Ok));
    if (errorBox)
        m_View.ShowMessage(THost::mkError, result);
    return outcome;
}

bool TMemorySequence::SaveFile(const TMemoryType& type, uint32_t address, uint32_t length,
                               const QString& path, TMemoryOutcome& outcome)
{
    TMemoryFileSink sink;
    TFileTransferOutcome file;
    if (!OpenFileForLoad(sink, path, file))
    {
        ShowFileWarning(TFileWarning::None, path,
                        QStringLiteral("cannot create '%1': %2").arg(path, sink.ErrorString()));
        return file.ShowErrorBox;
    }
    const std::shared_ptr<TMemoryLink> link = m_View.Link();
    if (!link)
    {
        sink.Cancel();
        outcome.NoLink = true;
        return false;
    }
    {
        const std::unique_ptr<TTransferProgress> progress = m_View.StartProgress();
        file = LoadMemoryToFile(*link, *progress, type, address, length, sink);
    }
    ShowFileWarning(file.Warning, path, QString());
    outcome.Ok = file.Ok;
    outcome.Aborted = file.Aborted;
    outcome.BoardFailed = file.BoardFailed;
    return file.ShowErrorBox;
}

void TMemorySequence::ShowFileWarning(TFileWarning warning, const QString& path,
                                      const QString& openProblem)
{
    if (warning != TFileWarning::None)
        m_View.ShowMessage(THost::mkWarning, FileWarningText(warning, path));
    else if (!openProblem.isEmpty())
        m_View.ShowMessage(THost::mkWarning, openProblem);
}
