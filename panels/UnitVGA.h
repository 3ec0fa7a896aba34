#pragma once

#include "panels/FormPanel.h"

inline constexpr const char* VGA_BACKGROUND = "TAB_DLG_BK";

// The HDMI-TX panel: the test pattern of the HDMI transmitter.
class TFormVGA : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on TAB_DLG_BK.
    TFormVGA(QWidget* owner, THost& host);
};
