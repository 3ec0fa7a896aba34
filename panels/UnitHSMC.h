#pragma once

#include "panels/FormPanel.h"

inline constexpr const char* HSMC_BACKGROUND = "HSMC_DLG_BK";

// The HSMC panel: the loopback test of the expansion connector.
class TFormHSMC : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on HSMC_DLG_BK.
    TFormHSMC(QWidget* owner, THost& host);
};
