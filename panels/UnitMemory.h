#pragma once

#include "panels/FormPanel.h"
#include "transfer/MemorySequence.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TBoardMemoryLink;
struct TMemoryType;

inline constexpr const char* MEMORY_BACKGROUND = "MEMORY_DLG_BK";

// Skinned button ids of the memory panel.
inline constexpr int32_t ID_MEM_RANDOM_READ = 0;
inline constexpr int32_t ID_MEM_RANDOM_WRITE = 1;
inline constexpr int32_t ID_MEM_ERASE = 2;
inline constexpr int32_t ID_MEM_WRITE_FILE = 3;
inline constexpr int32_t ID_MEM_READ_FILE = 4;
inline constexpr const char* ERASE_CAPTION = "Chip Erase (70 sec)";

// The memory panel: reads and writes the LPDDR2 memory and the SRAM, one word at a time or
// between a range and a file. The operations themselves are TMemorySequence's; the panel is
// their view: fields, dialogs, the progress dialog and the busy state.
class TFormMemory : public TFormPanel, private TMemoryView
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on MEMORY_DLG_BK, with the memory type list filled and
    /// its first type selected, every action disabled.
    TFormMemory(QWidget* owner, THost& host);
    ~TFormMemory() override;

    /// Clears the information line and enables the actions when board is connected.
    void AttachBoard(TBoard* board) override;
    /// Disables the actions and forgets the board; a transfer running meanwhile ends as
    /// failed without a link failure.
    void DetachBoard() override;

    /// The type list's selected position: 0 the LPDDR2 memory, 1 the SRAM, -1 none.
    int SelectedMemoryIndex() const;
    /// The memory of the selected type; none without a selection.
    TBoardAreas BoardAreas() const override;

    /// Actions 0, 1, 3 and 4 (hidden buttons and skinned twins) to enabled; the erase button
    /// stays disabled with its caption.
    void EnableActions(bool enabled);
    /// Set by a file write whose link failed; cleared when the next file write starts.
    bool LinkFailed() const { return m_bLinkFailed; }
    /// True while an operation runs.
    bool IsBusy() const { return m_bBusy; }
    /// The skinned action buttons.
    TButtonManager& ActionButtons() const { return m_Buttons; }

    QComboBox* ComboBoxMemType;
    QLabel* LabelType;
    QLabel* LabelRandomAccess;
    QLabel* LabelSeqWrite;
    QLabel* LabelSeqRead;
    QLabel* LabelMemRdmAddr;
    QLabel* LabelMemRdmWrite;
    QLabel* LabelMemRdmRead;
    QLabel* LabelMemWriteAddr;
    QLabel* LabelMemWriteLen;
    QLabel* LabelMemReadAddr;
    QLabel* LabelMemReadLen;
    QLabel* LabelFileLength;
    QLabel* LabelEntireMemory;
    QLineEdit* EditMemRdmAddr;
    QLineEdit* EditMemRdmWrite;
    QLineEdit* EditMemRdmRead;
    QLineEdit* EditMemWriteAddr;
    QLineEdit* EditMemWriteLen;
    QLineEdit* EditMemReadAddr;
    QLineEdit* EditMemReadLen;
    QCheckBox* CheckBoxMemWriteFileLen;
    QCheckBox* CheckBoxMemReadEntireMem;
    QPushButton* ButtonMemoryRandomRead;
    QPushButton* ButtonMemoryRandomWrite;
    QPushButton* ButtonMemRdmErase;
    QPushButton* ButtonMemWrite2FMem;
    QPushButton* ButtonMemRead2File;

protected:
    void ButtonClick(TButtonManager& group, int32_t id) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateLabels();
    void CreateFields();
    void CreateButtons();
    void NameFields();

    void ComboBoxMemTypeSelect(int index);
    void ButtonMemoryRandomReadClick();
    void ButtonMemoryRandomWriteClick();
    void ButtonMemWrite2FMemClick();
    void ButtonMemRead2FileClick();
    void CheckBoxMemWriteFileLenClick();
    void CheckBoxMemReadEntireMemClick();
    void LabelFileLengthClick();
    void LabelEntireMemoryClick();

    const TMemoryType& SelectedType() const;
    bool BoardUsable() const;

    // TMemoryView
    void SetInfo(const QString& text, TInfoColour colour) override;
    void ShowMessage(THost::TMessageKind kind, const QString& text) override;
    void SetBusy(bool busy) override;
    QString AskOpenFile() override;
    QString AskSaveFile() override;
    TOpResult ReadWord(uint8_t memoryType, uint32_t wordAddress, uint16_t& value) override;
    TOpResult WriteWord(uint8_t memoryType, uint32_t wordAddress, uint16_t data) override;
    std::shared_ptr<TMemoryLink> Link() override;
    std::unique_ptr<TTransferProgress> StartProgress() override;
    uint32_t TickCount() override;

    TButtonManager& m_Buttons;
    TMemorySequence m_Sequence;
    // Shared with a running transfer, which keeps it (detached) if the board goes away.
    std::shared_ptr<TBoardMemoryLink> m_pLink;
    int m_LastSelectedIndex = 0;
    bool m_bLinkFailed = false;
    bool m_bBusy = false;
    bool m_bDetachedWhileBusy = false;
};
