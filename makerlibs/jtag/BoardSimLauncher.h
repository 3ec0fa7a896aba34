#pragma once

#include <string>

#include "makerlibs/jtag/ServerAddress.h"

// Starts the virtual board daemon on first use, as a JTAG server is started when the first
// program asks for a cable.
class TBoardSimLauncher
{
public:
    static constexpr const char* PROGRAM_NAME = "hx9-board-sim";
    // How long the daemon gets to open its control port.
    static constexpr int START_LIMIT_MS = 2000;
    static constexpr int PROBE_INTERVAL_MS = 10;
    static constexpr int PROBE_LIMIT_MS = 200;

    // Runs "<folder>/hx9-board-sim serve --detach --port P" for the address and waits until its
    // control port answers; false when the program is missing, fails or never answers in time.
    static bool Start(const std::string& folder, const TServerAddress& address);
};
