#pragma once

class TCliSession;
struct TCliArguments;

/// uart send TEXT... or uart receive [--wait MS], each with the firmware's UART monitor
/// switched on for the command only; returns the exit status.
int RunUart(TCliSession& session, const TCliArguments& args);
