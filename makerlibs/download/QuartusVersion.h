#pragma once

#include <string_view>

// The programmer's "Version X.Y..." as the number X.Y; 0 when the text holds no version.
double ParseQuartusVersion(std::string_view text);
