#pragma once

#include "panels/FormPanel.h"

#include <cstdint>

class QPushButton;

inline constexpr const char* LED_BACKGROUND = "TAB_DLG_BK";

// Ids of the push group.
inline constexpr int32_t ID_LIGHT_ALL = 0;
inline constexpr int32_t ID_UNLIGHT_ALL = 1;

// The LED panel: the board's 8 green and 10 red LEDs, each a lamp that toggles on a click,
// every change sent at once as one pattern.
class TFormLED : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on TAB_DLG_BK: every LED lit, every button disabled.
    TFormLED(QWidget* owner, THost& host);

    /// Enables the buttons when the board is connected; sends nothing.
    void AttachBoard(TBoard* board) override;
    /// Disables the buttons and forgets the board.
    void DetachBoard() override;
    /// The board parts this panel drives.
    TBoardAreas BoardAreas() const override;

    /// The pattern of the lit LEDs: bit i for LED id i (GLED0-7, then RLED0-9).
    uint32_t LedMask() const;
    /// The LED toggles, ids 0-17.
    TButtonManager& LedButtons() const { return *m_pLedButtons; }
    /// Light All (id 0) and Unlight All (id 1).
    TButtonManager& PushButtons() const { return *m_pPushButtons; }

    QPushButton* ButtonLedLightAll;
    QPushButton* ButtonLedUnlightAll;

protected:
    void ButtonClick(TButtonManager& group, int32_t id) override;
    void FormPaint(QPainter& canvas) override;
    void FormMouseDown(int x, int y) override;
    void FormMouseMove(int x, int y) override;
    void FormMouseUp(int x, int y) override;

private:
    void ButtonLedLightAllClick();
    void ButtonLedUnlightAllClick();
    void SetAllLeds(bool lit);
    void ShowLed(int32_t id);
    void SendPattern();
    void EnableButtons(bool enable);

    TButtonManager* m_pLedButtons;
    TButtonManager* m_pPushButtons;
};
