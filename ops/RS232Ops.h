#pragma once

#include "ops/OpResult.h"

#include <QByteArray>
#include <cstdint>

class TBoard;

// The UART-to-USB port, reached through the firmware's UART monitor.
inline constexpr uint32_t UART_POLL_INTERVAL_MS = 100;

// The port's failure texts, shown by the panel and printed by hx9ctl alike.
inline constexpr const char* RS232_START_FAILED_TEXT = "Failed to start RS232";
inline constexpr const char* RS232_TRANSMIT_FAILED_TEXT = "RS232 transmit fail.";
inline constexpr const char* RS232_RECEIVE_FAILED_TEXT = "RS232 receive fail.";

/// Switches the firmware's UART monitor on, under the board's lock. A board that is not
/// connected is left alone: Done, nothing sent.
TOpResult StartUartMonitor(TBoard& board);
/// Switches the monitor off, as StartUartMonitor; callers stop whatever came before, so the
/// result is theirs to ignore.
TOpResult StopUartMonitor(TBoard& board);
/// Sends text followed by its terminating zero byte (an empty text sends the zero byte
/// alone), under the board's lock. Refused when the firmware did not take a block.
TOpResult SendUartText(TBoard& board, const QByteArray& text);
/// Fetches what the port received since the last call, under the board's lock, without a
/// connection test; received gets the bytes before the first zero byte, only on Done.
/// Refused (a status that is not 0) receives nothing but is no reason to stop polling.
TOpResult ReceiveUartChunk(TBoard& board, QByteArray& received);
