#pragma once

class TCliSession;
struct TCliArguments;

// The commands of the peripherals without a session of their own (the UART and the memory
// have theirs), each on its peripheral's operations. Each returns the exit status.

/// leds MASK|all|none
int RunLeds(TCliSession& session, const TCliArguments& args);
/// seg7 DIGITS
int RunSeg7(TCliSession& session, const TCliArguments& args);
/// switches: the keys and the switches.
int RunSwitches(TCliSession& session, const TCliArguments& args);
/// sd: the SD card panel's report.
int RunSdCard(TCliSession& session, const TCliArguments& args);
/// adc: the eight channels in volts.
int RunAdc(TCliSession& session, const TCliArguments& args);
/// hdmi PATTERN, or hdmi --list.
int RunHdmi(TCliSession& session, const TCliArguments& args);
/// hsmc: the loopback test and its failing pins.
int RunHsmc(TCliSession& session, const TCliArguments& args);
