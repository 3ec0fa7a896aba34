#pragma once

#include "protocol/Commands.h"
#include "virtualboard/SdCard.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vboard
{

constexpr size_t LED_COUNT = 18; // GLED0..7 in bits 0..7, RLED0..9 in bits 8..17
constexpr uint32_t LED_MASK = (1u << LED_COUNT) - 1;
constexpr uint32_t IMAGE_START_DIGITS = 0x8888; // what a fresh image shows, as the panel starts
constexpr uint16_t ADC_MAX_MILLIVOLTS = 4095;   // 12-bit converter, one count per mV
constexpr uint8_t HDMI_PATTERN_COUNT = 9;

// What the world outside the FPGA sets: it survives reprogramming and power cycles.
struct TBoardInputs
{
    uint32_t Keys = 0;     // bit k set: KEY k held down
    uint32_t Switches = 0; // bit k set: SW k up (on)
    std::array<uint16_t, ADC_CHANNEL_COUNT> AdcMillivolts{0,    585,  1170, 1755,
                                                          2340, 2925, 3510, 4095};
    TSdCard SdCard = MakeHighCapacityCard();
    // Failing loopback bits as the HSMC test reports them; all 0 = adapter passes.
    uint32_t HsmcA = 0, HsmcB = 0, HsmcC = 0, HsmcD = 0;
    bool HsmcAdapter = true; // without it the firmware cannot run the test
    std::string BoardName = "HX9";
};

// What the firmware drives; lost when the FPGA is reconfigured or powered off.
struct TBoardOutputs
{
    // A fresh image lights every LED and shows 8888, as the LED and seven-segment panels
    // start: their first click then changes one lamp or one digit on both.
    uint32_t Leds = LED_MASK;
    uint32_t DigitWord = IMAGE_START_DIGITS; // digit k in bits 4k..4k+3
    uint8_t DigitExtra = 0;
    bool UartRunning = false;
    std::vector<uint8_t> UartSent;      // bytes the PC sent out of the UART
    std::vector<size_t> UartSentBlocks; // bytes per UartWrite request, as UartSent
    uint64_t UartSentTotal = 0;         // every byte ever sent, "uart clear" or not
    std::deque<uint8_t> UartToReceive;  // bytes waiting for the PC to read
    bool HdmiRunning = false;
    uint8_t HdmiPattern = 0;
    uint32_t ButtonPolls = 0; // answered key/switch queries
};

} // namespace vboard
