#pragma once

// The colours of the information line and the status label, by meaning; each surrounding
// maps them to its own look.
enum class TInfoColour
{
    Yellow, // work in progress, and the cleared line
    Green,  // success
    Red     // failure
};
