#pragma once

#include <QString>

// Texts of the SD card panel, shared with hx9ctl.
inline constexpr const char* SDCARD_TITLE_CID = "Card Identification";
inline constexpr const char* SDCARD_TITLE_CSD = "Card Specific Data";
inline constexpr const char* SDCARD_TITLE_FAT = "File System:";
// "read" twice on purpose: the board's users know the text so.
inline constexpr const char* SDCARD_READ_OK_TEXT = "Read SDCARD read successfully";
inline constexpr const char* SDCARD_FAILED_TEXT = "Failed to access SDCARD.";
// "pluged" is misspelt on purpose: the board's users know the text so.
inline constexpr const char* SDCARD_ABSENT_TEXT =
    "Failed to access the SDCARD.\nPlease make sure a SDCARD is pluged into the Velmora Starter "
    "Board.";

/// The panel's three sections as one text: each title on its own line followed by its
/// report (CID, then CSD, then the file-system name on the title's line).
QString SDCardReportText(const QString& cidText, const QString& csdText,
                         const QString& fileSystemText);
