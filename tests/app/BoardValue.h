#pragma once

#include "tests/support/VirtualBoardProcess.h"

#include <string>

// The value after "ok" of a control line, or the board's error reply in full.
inline std::string BoardValue(hx9test::TVirtualBoardProcess& board, const std::string& line)
{
    std::string value;
    return board.Command(line, &value) ? value : board.LastError();
}
