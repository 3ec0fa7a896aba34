#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The ADC's sample block: eight 16-bit millivolt values, little-endian, channel 0 first,
// read with MemoryRead from memory type 10 at address 0.
inline constexpr uint32_t ADC_CHANNEL_COUNT = 8;
inline constexpr uint32_t ADC_BLOCK_ADDRESS = 0;
inline constexpr uint32_t ADC_BLOCK_BYTES = 2 * ADC_CHANNEL_COUNT;

using TAdcBlock = std::array<uint8_t, ADC_BLOCK_BYTES>;

/// Millivolts of one channel of the block.
uint16_t AdcChannelMillivolts(const TAdcBlock& block, uint32_t channel);
/// The panel's text: "CH%d: %.3f V" and lineEnd for each of the eight channels, in order
/// (the panel ends every line with "\r\n").
QString AdcReadoutText(const TAdcBlock& block, const QString& lineEnd = QStringLiteral("\r\n"));
