#pragma once

#include <QStringList>

// hx9ctl: reads the command line, runs one command of the command table on the board and
// returns the exit status.
class THx9Ctl
{
public:
    /// Runs the command given by the arguments after the program name; returns the exit status.
    int Run(const QStringList& arguments);
};
