#pragma once

#include "panels/FormPanel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TReceiveBox;

inline constexpr const char* RS232_BACKGROUND = "TAB_DLG_BK";
inline constexpr int32_t RS232_ID_SEND = 0;
inline constexpr int32_t RS232_ID_CLEAR = 1;

// The UART-USB panel: a small terminal on the board's UART-to-USB port. While attached to a
// connected board the firmware's UART monitor runs and what it received is fetched every
// 100 ms.
class TFormRS232 : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on TAB_DLG_BK, with both text boxes empty.
    TFormRS232(QWidget* owner, THost& host);

    /// Starts the monitor of a connected board and the receive poll.
    void AttachBoard(TBoard* board) override;
    /// Stops the poll and the monitor.
    void DetachBoard() override;

    /// The board parts this panel drives.
    TBoardAreas BoardAreas() const override;

    /// Sends the text of EditSend with its terminating zero byte.
    void ButtonSendClick();
    /// Empties EditRx.
    void ButtonClearClick();

    QLabel* LabelCaption;
    QLabel* LabelReceive;
    QLabel* LabelSend;
    TReceiveBox* EditRx;
    QLineEdit* EditSend;
    QPushButton* ButtonSend;
    QPushButton* ButtonClear;
    TButtonManager& Buttons() const { return m_Buttons; }

protected:
    void ButtonClick(TButtonManager& group, int32_t id) override;
    bool PollBoard() override;

private:
    void SetSendEnabled(bool enabled);

    TButtonManager& m_Buttons;
};
