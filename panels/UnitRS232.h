#pragma once

#include "panels/FormPanel.h"

inline constexpr const char* RS232_BACKGROUND = "TAB_DLG_BK";

// The UART-USB panel: text to and from the board's UART-to-USB port.
class TFormRS232 : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on TAB_DLG_BK.
    TFormRS232(QWidget* owner, THost& host);
};
