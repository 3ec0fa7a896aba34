#pragma once

#include "ops/ButtonOps.h"
#include "panels/FormPanel.h"

#include <array>
#include <cstdint>

class TPictureText;

inline constexpr const char* BUTTON_BACKGROUND = "BT_DLG_BK";
// One poll every 100 ms plus the exchange: the timer is re-armed after each good poll.
inline constexpr int BUTTON_POLL_MS = 100;
inline constexpr const char* TEXT_MONITOR_INPUTS = "Monitor Switches and Pushbuttons...";

// The keys and switches panel: watches the 4 push-buttons and 10 slide switches while it is
// attached to a connected board, and draws them whenever they change.
class TFormButton : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on BT_DLG_BK, every key and switch up.
    TFormButton(QWidget* owner, THost& host);

    /// Starts monitoring when the board is connected.
    void AttachBoard(TBoard* board) override;
    /// Stops monitoring and forgets the board.
    void DetachBoard() override;
    /// The board parts this panel drives.
    TBoardAreas BoardAreas() const override;

    /// Bits 0-3 KEY0-3, bits 4-13 SW0-9; a set bit is drawn down.
    uint32_t InputState() const { return m_InputState; }

protected:
    bool PollBoard() override;
    void FormPaint(QPainter& canvas) override;

private:
    void DrawInputs(QPainter& canvas) const;
    void TellInputs();

    uint32_t m_InputState = 0;
    uint32_t m_LastDrawnState = 0;
    // Each key's and switch's state as text, over its picture.
    std::array<TPictureText*, KEY_COUNT> m_KeyTexts{};
    std::array<TPictureText*, SWITCH_COUNT> m_SwitchTexts{};
};
