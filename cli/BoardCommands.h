#pragma once

class TCliSession;
struct TCliArguments;

// The commands about the board itself. Each returns the exit status.

/// connect: the whole connect sequence, FPGA configuration included; prints "Connected".
int RunConnect(TCliSession& session, const TCliArguments& args);
/// name: prints the board name the firmware reports.
int RunName(TCliSession& session, const TCliArguments& args);
/// ping: the exit status tells whether the firmware answers.
int RunPing(TCliSession& session, const TCliArguments& args);
