#pragma once

#include "ops/OpResult.h"

// hx9ctl's exit statuses, as documented in its --help.
inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_BOARD_FAILURE = 1; // the board answered with a failure
inline constexpr int EXIT_BAD_ARGUMENTS = 2; // bad arguments or an unusable file
inline constexpr int EXIT_LINK_FAILURE = 3;  // no link, wrong board, or no valid answer
inline constexpr int EXIT_ABORTED = 130;     // a transfer stopped by Ctrl-C (128 + SIGINT)

/// The exit status that reports how an operation ended.
constexpr int ExitStatusOf(TOpResult result)
{
    switch (result)
    {
    case TOpResult::Done:
        return EXIT_OK;
    case TOpResult::Refused:
        return EXIT_BOARD_FAILURE;
    case TOpResult::LinkFailed:
        return EXIT_LINK_FAILURE;
    case TOpResult::Aborted:
        return EXIT_ABORTED;
    case TOpResult::FileFailed:
    case TOpResult::BadInput:
        return EXIT_BAD_ARGUMENTS;
    }
    return EXIT_LINK_FAILURE;
}
