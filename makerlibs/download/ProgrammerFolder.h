#pragma once

#include <string>

// Finds the Quartus programmer's folder the way the control panel does: QUARTUS_ROOTDIR, then
// the install directory recorded in the system settings, each tried with "/bin" then "/bin32".
class TProgrammerFolder
{
public:
    static constexpr const char* ROOT_VARIABLE = "QUARTUS_ROOTDIR";
    static constexpr const char* SETTINGS_ORGANIZATION = "Altera Corporation";
    static constexpr const char* SETTINGS_APPLICATION = "Quartus";
    static constexpr const char* SETTINGS_KEY = "Quartus Install Directory";
    static constexpr const char* PROGRAMMER_NAME = "quartus_pgm";

    // The folder holding the programmer; empty when neither source names an existing folder.
    static std::string Find();

private:
    static std::string BinFolderOf(const std::string& root);
};
