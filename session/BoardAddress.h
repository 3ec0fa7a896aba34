#pragma once

#include <QString>

// Where the JTAG library looks for the board: the variable it reads, and where it looks
// without one.
inline constexpr const char* BOARD_ADDRESS_VARIABLE = "KELVARO_JTAG_SERVER";
inline constexpr const char* DEFAULT_BOARD_ADDRESS = "127.0.0.1:45480";

/// True for "HOST:PORT" (an IPv6 host in brackets) with a port from 1 to 65535.
bool IsBoardAddress(const QString& address);
/// Points the JTAG library (and the programmer it starts) at address, over any address the
/// environment names. Must run before the first link is opened.
void SelectBoardAddress(const QString& address);
/// The address the next link goes to: the variable's, or the default without one.
QString BoardAddress();
