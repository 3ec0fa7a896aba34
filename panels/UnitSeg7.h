#pragma once

#include "ops/Seg7Ops.h"
#include "panels/FormPanel.h"

#include <array>
#include <cstdint>

class TPictureText;

inline constexpr const char* SEG7_BACKGROUND = "TAB_DLG_BK";
// Every digit shows 8 at start.
inline constexpr int SEG7_START_VALUE = 8;

// The seven-segment panel: the hexadecimal digit of each of the four displays, stepped up or
// down by its arrows with wrap-around; the four are sent together after every step.
class TFormSeg7 : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on TAB_DLG_BK, every digit 8, the arrows disabled.
    TFormSeg7(QWidget* owner, THost& host);

    /// Enables the arrows when the board is connected; sends nothing.
    void AttachBoard(TBoard* board) override;
    /// Disables the arrows and forgets the board.
    void DetachBoard() override;
    /// The board parts this panel drives.
    TBoardAreas BoardAreas() const override;

    /// Values of HEX0 to HEX3, each 0 to 15.
    const TSeg7Digits& DigitValues() const { return m_DigitValues; }
    /// The arrows: id 2k steps HEX k up, id 2k + 1 down.
    TButtonManager& ArrowButtons() const { return *m_pArrowButtons; }

protected:
    void ButtonClick(TButtonManager& group, int32_t id) override;
    void FormPaint(QPainter& canvas) override;

private:
    void SendDigits();
    void EnableArrows(bool enable);
    void DrawDigits(QPainter& canvas) const;
    void TellDigits();

    TSeg7Digits m_DigitValues;
    TButtonManager* m_pArrowButtons;
    // Each digit's value as text, over its picture.
    std::array<TPictureText*, SEG7_DIGIT_COUNT> m_DigitTexts{};
};
