#pragma once

#include "ops/OpResult.h"

#include <QString>
#include <cstdint>

// Texts of the memory panel's information line, shared with hx9ctl.

// "Invalud" is misspelt on purpose (the read's text is not): the board's users know it so.
inline constexpr const char* WRITE_INVALID_INPUT_TEXT = "Invalud Input Data.";
inline constexpr const char* READ_INVALID_INPUT_TEXT = "Invalid Input Data.";

/// "%s Random Write..." / "%s Random Read...".
QString RandomWriteStartText(const QString& name);
QString RandomReadStartText(const QString& name);
/// "%s Random Write %s" / "%s Random Read %s" with "Success" or "Fail".
QString RandomWriteResultText(const QString& name, bool ok);
QString RandomReadResultText(const QString& name, bool ok);
/// A word as the read-back field shows it: "%04X".
QString WordText(uint16_t value);

/// "Write a File to %s...".
QString WriteFileStartText(const QString& name);
/// "Write a File to %s Aborted." or "Write a File to %s %s.[%.1fsec]" ("Success" for Done).
QString WriteFileResultText(const QString& name, TOpResult result, uint32_t elapsedMs);
/// "Load %s Content to a File...".
QString LoadFileStartText(const QString& name);
/// "Load %s Content to a File Aborted." or "Load %s Content to a File %s. (%.1fsec)".
QString LoadFileResultText(const QString& name, TOpResult result, uint32_t elapsedMs);
