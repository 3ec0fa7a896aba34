#pragma once

#include "panels/FormPanel.h"

inline constexpr const char* LED_BACKGROUND = "TAB_DLG_BK";

// The LED panel: the board's 8 green and 10 red LEDs.
class TFormLED : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on TAB_DLG_BK.
    TFormLED(QWidget* owner, THost& host);
};
