#pragma once

#include <QString>

class THost;

// Environment variable and registry value naming the Quartus installation root.
inline constexpr const char* QUARTUS_ROOT_ENV = "QUARTUS_ROOTDIR";
inline constexpr const char* QUARTUS_REGISTRY_ORGANIZATION = "Altera Corporation";
inline constexpr const char* QUARTUS_REGISTRY_APPLICATION = "Quartus";
inline constexpr const char* QUARTUS_REGISTRY_VALUE = "Quartus Install Directory";

/// With true makes the programmer's folder (root + bin, else root + bin32; environment before
/// registry) the current folder, or shows "Failed to find Quartus installatino folder!" and
/// leaves it; with false makes the program folder current.
void SelectWorkingFolder(THost& host, bool toProgrammer);
/// QUARTUS_ROOTDIR, whole whatever its length; empty when unset.
QString QuartusRootFromEnvironment();
/// "Quartus Install Directory" of SOFTWARE\Altera Corporation\Quartus in the system-scope
/// settings (the local-machine registry on Windows); empty when it cannot be read.
QString QuartusRootFromRegistry();
