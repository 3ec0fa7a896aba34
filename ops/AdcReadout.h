#pragma once

#include "protocol/Commands.h"

#include <QString>
#include <array>
#include <cstdint>

// The ADC's sample block as MemoryRead brings it from memory type 10.
using TAdcBlock = std::array<uint8_t, ADC_BLOCK_LEN>;

/// Millivolts of one channel of the block.
uint16_t AdcChannelMillivolts(const TAdcBlock& block, uint32_t channel);
/// The panel's text: "CH%d: %.3f V" and lineEnd for each of the eight channels, in order
/// (the panel ends every line with "\r\n").
QString AdcReadoutText(const TAdcBlock& block, const QString& lineEnd = QStringLiteral("\r\n"));
