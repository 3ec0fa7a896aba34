#pragma once

#include "panels/FormPanel.h"

inline constexpr const char* BUTTON_BACKGROUND = "BT_DLG_BK";

// The keys and switches panel: the 4 push-buttons and 10 slide switches.
class TFormButton : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on BT_DLG_BK.
    TFormButton(QWidget* owner, THost& host);
};
