#pragma once

#include "panels/FormPanel.h"

class QLabel;
class QPushButton;

inline constexpr const char* SDCARD_BACKGROUND = "SDCARD_DLG_BK";
inline constexpr int32_t ID_SDCARD_READ = 0;

// The SD card panel: on Read, the card's CID and CSD registers and its file system.
class TFormSDCARD : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on SDCARD_DLG_BK: titles, empty reports, Read disabled.
    TFormSDCARD(QWidget* owner, THost& host);

    /// Clears the information line; Read is enabled only on a connected board. Nothing is sent.
    void AttachBoard(TBoard* board) override;
    /// Disables Read and forgets the board; the last report stays.
    void DetachBoard() override;

    /// The Read button: empties the reports, queries the card, and tells the main window
    /// when the exchange failed.
    void ButtonSDCARDClick();
    /// One query and the display of its result.
    void ShowSdCardInfo();

    /// The board parts this panel drives.
    TBoardAreas BoardAreas() const override;

    QLabel* LabelCID;
    QLabel* LabelCSD;
    QLabel* LabelFAT;
    QLabel* LabelSDCARD_CID;
    QLabel* LabelSDCARD_CSD;
    QLabel* LabelSDCARD_FAT;
    QPushButton* ButtonSDCARD;

protected:
    void ButtonClick(TButtonManager& group, int32_t id) override;

private:
    void EnableRead(bool enable);
    void ClearReports();

    TButtonManager& m_Buttons;
};
