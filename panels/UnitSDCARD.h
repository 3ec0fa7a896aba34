#pragma once

#include "panels/FormPanel.h"

inline constexpr const char* SDCARD_BACKGROUND = "SDCARD_DLG_BK";

// The SD card panel: the card's CID and CSD registers and its file system.
class TFormSDCARD : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on SDCARD_DLG_BK.
    TFormSDCARD(QWidget* owner, THost& host);
};
