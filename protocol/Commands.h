#pragma once

#include "protocol/Frame.h"

#include <cstdint>

// Command codes of the firmware protocol.
inline constexpr uint8_t CMD_QUERY_BOARD_NAME = 0;
inline constexpr uint8_t CMD_PING = 1;
inline constexpr uint8_t CMD_SET_LED = 5;
inline constexpr uint8_t CMD_QUERY_BUTTON_SWITCH = 6;
inline constexpr uint8_t CMD_SET_SEG7 = 7;
inline constexpr uint8_t CMD_QUERY_SDCARD_INFO = 8;
inline constexpr uint8_t CMD_MEMORY_WRITE = 12;
inline constexpr uint8_t CMD_MEMORY_READ = 13;
inline constexpr uint8_t CMD_UART_WRITE = 19;
inline constexpr uint8_t CMD_UART_READ = 20;
inline constexpr uint8_t CMD_DEVICE_CONTROL = 21;
inline constexpr uint8_t CMD_HSMC_LOOPBACK_TEST = 53;

// Byte 0 of every reply payload; any other value is a failure.
inline constexpr uint8_t REPLY_STATUS_OK = 0;

// Name text in the board-name reply, after the status byte.
inline constexpr uint32_t BOARD_NAME_TEXT_LEN = 32;
// UART data travels in fixed 128-byte blocks with a count.
inline constexpr uint32_t UART_BLOCK_LEN = 128;

// Reply payload lengths, status byte included. A reply of any other length is refused.
inline constexpr uint32_t REPLY_LEN_STATUS = 1;
inline constexpr uint32_t REPLY_LEN_BOARD_NAME = REPLY_LEN_STATUS + BOARD_NAME_TEXT_LEN;
inline constexpr uint32_t REPLY_LEN_BUTTON_SWITCH = 13;
inline constexpr uint32_t REPLY_LEN_SDCARD_INFO = 37;
inline constexpr uint32_t REPLY_LEN_UART_READ = 2 + UART_BLOCK_LEN; // status, count, block
inline constexpr uint32_t REPLY_LEN_HSMC_LOOPBACK = 17;

// Request payload lengths of the fixed-size requests.
inline constexpr uint32_t REQUEST_LEN_SET_LED = 4;
inline constexpr uint32_t REQUEST_LEN_SET_SEG7 = 5;
inline constexpr uint32_t REQUEST_LEN_MEMORY_WRITE_HEAD = 5; // type, address; data follows
inline constexpr uint32_t REQUEST_LEN_MEMORY_READ = 9;       // type, address, count
inline constexpr uint32_t REQUEST_LEN_UART_WRITE = 2 + UART_BLOCK_LEN; // device, count, block
inline constexpr uint32_t REQUEST_LEN_UART_READ = 1;
inline constexpr uint32_t REQUEST_LEN_DEVICE_CONTROL = 3;
inline constexpr uint32_t REQUEST_LEN_HSMC_LOOPBACK = 5;

// Fields of the memory requests: type at 0, address at 1, a read's byte count at 5.
inline constexpr uint32_t MEMORY_REQUEST_ADDRESS_OFFSET = 1;
inline constexpr uint32_t MEMORY_REQUEST_COUNT_OFFSET = 5;
// Fields of the UART blocks, in a write's request and a read's reply.
inline constexpr uint32_t UART_COUNT_OFFSET = 1;
inline constexpr uint32_t UART_DATA_OFFSET = 2;
// Words of the keys-and-switches reply. The board has 4 keys and 10 switches, in the low bits
// of their words; the bits above carry other signals.
inline constexpr uint32_t BUTTON_KEY_OFFSET = 1;
inline constexpr uint32_t BUTTON_SWITCH_OFFSET = 5;
inline constexpr uint32_t BUTTON_KEY_COUNT = 4;
inline constexpr uint32_t BUTTON_SWITCH_COUNT = 10;
inline constexpr uint32_t BUTTON_KEY_MASK = (1u << BUTTON_KEY_COUNT) - 1;
inline constexpr uint32_t BUTTON_SWITCH_MASK = (1u << BUTTON_SWITCH_COUNT) - 1;
// The SD card reply: registers most significant byte first, then the file-system code.
inline constexpr uint32_t SD_CSD_OFFSET = 1;
inline constexpr uint32_t SD_CID_OFFSET = 18;
inline constexpr uint32_t SD_FILE_SYSTEM_OFFSET = 35;
inline constexpr uint32_t SD_FLAG_OFFSET = 36;
inline constexpr uint8_t SD_FILE_SYSTEM_FAT16 = 1;
inline constexpr uint8_t SD_FILE_SYSTEM_FAT32 = 2;
// Words A to D of the HSMC loopback reply.
inline constexpr uint32_t HSMC_WORD_A_OFFSET = 1;
inline constexpr uint32_t HSMC_WORD_B_OFFSET = 5;
inline constexpr uint32_t HSMC_WORD_C_OFFSET = 9;
inline constexpr uint32_t HSMC_WORD_D_OFFSET = 13;

// Memory type codes of MemoryWrite and MemoryRead.
inline constexpr uint8_t MEM_TYPE_SRAM = 6;
inline constexpr uint8_t MEM_TYPE_LPDDR2 = 7;
inline constexpr uint8_t MEM_TYPE_ADC = 10;
// Bytes behind the two memory types.
inline constexpr uint32_t LPDDR2_SIZE_BYTES = 0x20000000; // 512 MB
inline constexpr uint32_t SRAM_SIZE_BYTES = 0x80000;      // 512 KB
// The ADC's sample block: eight 16-bit millivolt values, channel 0 first, from address 0.
inline constexpr uint32_t ADC_CHANNEL_COUNT = 8;
inline constexpr uint32_t ADC_BLOCK_ADDRESS = 0;
inline constexpr uint32_t ADC_BLOCK_LEN = ADC_CHANNEL_COUNT * sizeof(uint16_t);

// Largest data chunk per exchange: 5 + 32743 fill a request, 1 + 32747 a reply.
inline constexpr uint32_t MEMORY_WRITE_CHUNK =
    PKT_PC2NIOS_MAX_PL_LEN - REQUEST_LEN_MEMORY_WRITE_HEAD;
inline constexpr uint32_t MEMORY_READ_CHUNK = PKT_NIOS2PC_MAX_PL_LEN - REPLY_LEN_STATUS;

// Device codes of DeviceControl, UartWrite and UartRead, and the actions of DeviceControl.
inline constexpr uint8_t DEVICE_UART_USB = 2;
inline constexpr uint8_t DEVICE_HDMI_TX = 4;
inline constexpr uint8_t DEVICE_ACTION_STOP = 0;
inline constexpr uint8_t DEVICE_ACTION_START = 1;
inline constexpr uint8_t DEVICE_ACTION_HDMI_PATTERN = 2; // argument: the pattern index

/// Reply payload length of a command; a memory read's adds the byte count it asks for.
/// Commands the firmware does not know get a status alone.
constexpr uint32_t ReplyPayloadLength(uint8_t command, uint32_t memoryReadCount = 0)
{
    switch (command)
    {
    case CMD_QUERY_BOARD_NAME:
        return REPLY_LEN_BOARD_NAME;
    case CMD_QUERY_BUTTON_SWITCH:
        return REPLY_LEN_BUTTON_SWITCH;
    case CMD_QUERY_SDCARD_INFO:
        return REPLY_LEN_SDCARD_INFO;
    case CMD_MEMORY_READ:
        return REPLY_LEN_STATUS + memoryReadCount;
    case CMD_UART_READ:
        return REPLY_LEN_UART_READ;
    case CMD_HSMC_LOOPBACK_TEST:
        return REPLY_LEN_HSMC_LOOPBACK;
    default:
        return REPLY_LEN_STATUS;
    }
}
