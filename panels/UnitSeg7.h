#pragma once

#include "panels/FormPanel.h"

inline constexpr const char* SEG7_BACKGROUND = "TAB_DLG_BK";

// The seven-segment panel: the hexadecimal digit of each of the four displays.
class TFormSeg7 : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on TAB_DLG_BK.
    TFormSeg7(QWidget* owner, THost& host);
};
