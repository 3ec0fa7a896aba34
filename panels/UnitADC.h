#pragma once

#include "panels/FormPanel.h"

inline constexpr const char* ADC_BACKGROUND = "ADC_DLG_BK";

// The ADC panel: the eight ADC channels as voltages.
class TFormADC : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on ADC_DLG_BK.
    TFormADC(QWidget* owner, THost& host);
};
