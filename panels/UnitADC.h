#pragma once

#include "ops/AdcReadout.h"
#include "panels/FormPanel.h"

class QLabel;

inline constexpr const char* ADC_BACKGROUND = "ADC_DLG_BK";
inline constexpr const char* ADC_TITLE = "Eight Channel ADC Status";
// One read every half second while shown; the next is armed only after a read that worked.
inline constexpr int ADC_POLL_MS = 500;

// The ADC panel: the eight ADC channels as voltages, read twice a second.
class TFormADC : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on ADC_DLG_BK, with its title and an empty value text.
    TFormADC(QWidget* owner, THost& host);

    /// Clears the information line; on a connected board the first read comes ADC_POLL_MS
    /// later. Nothing is sent here.
    void AttachBoard(TBoard* board) override;

    /// One read of the sample block and the refresh of the value text: the eight channels
    /// when it worked, an empty text when it failed. False when it failed, and without a
    /// board (the text then stays as it was).
    bool ReadAdcChannels();
    /// True when the last read worked.
    bool IsValid() const { return m_bValid; }

    /// The board parts this panel drives.
    TBoardAreas BoardAreas() const override;

    QLabel* LabelAdc;
    QLabel* LabelAdcStatus;

protected:
    bool PollBoard() override;

private:
    TAdcBlock m_Samples{};
    bool m_bValid = false;
};
