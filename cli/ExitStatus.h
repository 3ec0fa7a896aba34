#pragma once

// hx9ctl's exit statuses, as documented in its --help.
inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_BOARD_FAILURE = 1; // the board answered with a failure
inline constexpr int EXIT_BAD_ARGUMENTS = 2; // bad arguments or an unusable file
inline constexpr int EXIT_LINK_FAILURE = 3;  // no link, wrong board, or no valid answer
inline constexpr int EXIT_ABORTED = 130;     // a transfer stopped by Ctrl-C (128 + SIGINT)
