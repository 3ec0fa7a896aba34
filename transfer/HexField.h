#pragma once

#include <QString>
#include <cstdint>

// Outcome of the memory panel's input check: the value, or the message the panel shows.
struct THexFieldResult
{
    bool Accepted = false;
    uint64_t Value = 0;
    QString Message; // the error box text when not accepted
};

// Field names the memory panel passes to ReadHexField.
inline constexpr const char* FIELD_ADDRESS = "Address";
inline constexpr const char* FIELD_WDATA = "wDATA";
inline constexpr const char* FIELD_LENGTH = "Length";

/// Reads text as bare hexadecimal (0-9, a-f, A-F only, fitting 64 bits) and checks
/// minimum <= value <= maximum, the maximum first. Not accepted carries the exact message.
THexFieldResult ReadHexField(const QString& text, const QString& fieldName, uint64_t maximum,
                             uint64_t minimum);
/// ReadHexField where the messages quote typed, what the user wrote, in place of text (a
/// command line may take a 0x prefix that the field itself has no room for).
THexFieldResult ReadHexField(const QString& text, const QString& typed, const QString& fieldName,
                             uint64_t maximum, uint64_t minimum);
