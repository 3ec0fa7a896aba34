#pragma once

#include "host/Host.h"
#include "host/InfoColour.h"
#include "ops/OpResult.h"
#include "transfer/MemoryFileSource.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class TMemoryLink;
class TTransferProgress;
struct TMemoryType;

// What the memory operations show and ask while they run. The memory panel shows them in
// its window and dialogs; hx9ctl prints them and takes its answers from its arguments.
class TMemoryView
{
public:
    virtual ~TMemoryView() = default;

    /// The information line: the start text in yellow, the result in green or red.
    virtual void SetInfo(const QString& text, TInfoColour colour) = 0;
    /// A modal box with one OK button: a rejected field, a file problem, a failed transfer.
    virtual void ShowMessage(THost::TMessageKind kind, const QString& text) = 0;
    /// true while an operation runs: its actions disabled and the busy pointer; false puts
    /// both back.
    virtual void SetBusy(bool busy) = 0;
    /// The file to send to memory, or "" when the user cancels.
    virtual QString AskOpenFile() = 0;
    /// The file to save memory to, or "" when the user cancels.
    virtual QString AskSaveFile() = 0;
    /// One word from the board (the memory word operation); value is written on Done.
    virtual TOpResult ReadWord(uint8_t memoryType, uint32_t wordAddress, uint16_t& value) = 0;
    /// One word to the board (the memory word operation).
    virtual TOpResult WriteWord(uint8_t memoryType, uint32_t wordAddress, uint16_t data) = 0;
    /// The board's memory commands for a transfer, asked for once the inputs and the file
    /// are good; nullptr when there is no board to use (the transfer then ends as failed
    /// without a box: the view has said why).
    virtual std::shared_ptr<TMemoryLink> Link() = 0;
    /// The progress display of one transfer; it lives until the transfer ends.
    virtual std::unique_ptr<TTransferProgress> StartProgress() = 0;
    /// Millisecond tick for the elapsed time of the file transfers.
    virtual uint32_t TickCount() = 0;
};

// How a memory operation ended: Done; BadInput when a field was refused (nothing sent);
// Aborted when the file dialog was cancelled or the transfer stopped; the board's failure
// (Refused, LinkFailed, LinkFailed too when the view had no board to give); FileFailed.
struct TMemoryOutcome
{
    TOpResult Result = TOpResult::Done;
    uint16_t Word = 0;         // the word a random read brought
    uint32_t WordsMoved = 0;   // a file transfer's words, an odd last byte counted as a word
    uint32_t ElapsedMs = 0;    // a file transfer's time, as its result text shows it
    bool FailedMidway = false; // a file write's keep-alive or chunk failed after the first
                               // keep-alive: the memory panel's lost link
};

// The memory panel's four operations, window-free: one word read or written, a file sent
// to memory, a memory range saved to a file. Each takes the memory type at the moment it
// runs and the texts of its fields, checks them, and shows its progress and result through
// the view, letter for letter the same in the window and in hx9ctl.
class TMemorySequence
{
public:
    explicit TMemorySequence(TMemoryView& view) : m_View(view) {}

    /// One word at the address from dataText. The busy state spans the whole operation.
    TMemoryOutcome RandomWrite(const TMemoryType& type, const QString& addressText,
                               const QString& dataText);
    /// One word from the address; Word holds it on Done.
    TMemoryOutcome RandomRead(const TMemoryType& type, const QString& addressText);
    /// A file to memory from the address: lengthText words, or with none ("File Length")
    /// the file's own length cut at the memory's end.
    TMemoryOutcome WriteFile(const TMemoryType& type, const QString& addressText,
                             const std::optional<QString>& lengthText);
    /// A memory range to a file: from addressText for lengthText words, or with none
    /// ("Entire Memory") the whole memory whatever the fields hold.
    TMemoryOutcome LoadFile(const TMemoryType& type, const std::optional<QString>& addressText,
                            const std::optional<QString>& lengthText);

private:
    // Reads a field through ReadHexField; a rejection shows its error box.
    bool ReadField(const QString& text, const char* fieldName, uint64_t maximum, uint64_t minimum,
                   uint32_t& value);
    bool ReadRange(const TMemoryType& type, const QString& addressText,
                   const std::optional<QString>& lengthText, uint32_t& address,
                   std::optional<uint32_t>& length);
    // The transfers after the file was chosen; true when the result also goes in an error box.
    bool SendFile(const TMemoryType& type, uint32_t address, std::optional<uint32_t> length,
                  const QString& path, TMemoryOutcome& outcome);
    bool SaveFile(const TMemoryType& type, uint32_t address, uint32_t length, const QString& path,
                  TMemoryOutcome& outcome);
    // A file transfer's result line, green on Done, and again in an error box when asked.
    void ShowResult(const QString& text, TOpResult result, bool errorBox);
    // The warning box of a file problem: its fixed text, or why the file could not be used.
    void ShowFileWarning(TFileWarning warning, const QString& path, const QString& openProblem);

    TMemoryView& m_View;
};
