#pragma once

#include <QStringView>
#include <array>

// The HDMI-TX panel's test patterns; a pattern's position is its code on the wire.
inline constexpr int HDMI_PATTERN_COUNT = 9;
inline constexpr std::array<const char*, HDMI_PATTERN_COUNT> HdmiPatternNames = {
    "Color Scale", "Red",       "Green",       "Blue",       "White",
    "Black",       "Red Scale", "Green Scale", "Blue Scale",
};

inline constexpr const char* HDMI_SETTING_TEXT = "HDMI-TX Setting...";
inline constexpr const char* HDMI_SET_OK_TEXT = "Set HDMI-TX Success";

/// Code of the pattern named name, without regard to case, a blank also matching '-' or '_'
/// ("red-scale"); -1 when none matches.
int FindHdmiPattern(QStringView name);
