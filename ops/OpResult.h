#pragma once

// How one peripheral operation ended. Each surrounding translates it once: hx9ctl into its
// exit status, a panel into OnLinkFailure and its information texts.
enum class TOpResult
{
    Done,       // the board did what was asked
    Refused,    // the board answered with a failure: a non-zero status, a failed loopback, no card
    LinkFailed, // no valid answer: the exchange itself failed
    Aborted,    // the user stopped it
    FileFailed, // a file could not be read or written
    BadInput    // an input the operation checks itself was refused: nothing was sent
};
