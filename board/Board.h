#pragma once

#include "protocol/Commands.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class THost;
class TJtagPort;

// Time limits in milliseconds.
inline constexpr uint32_t REPLY_HEADER_LIMIT_MS = 3000;
inline constexpr uint32_t SDCARD_HEADER_LIMIT_MS = 10000;
inline constexpr uint32_t REPLY_REST_LIMIT_MS = 3000;
inline constexpr uint32_t RECEIVE_READ_LIMIT_MS = 3000;
inline constexpr uint32_t DRAIN_READ_LIMIT_MS = 1;
// With a wait hook, replies are awaited in slices this long, the hook running between them.
inline constexpr uint32_t WAIT_HOOK_SLICE_MS = 20;
inline constexpr uint32_t KEEP_ALIVE_IDLE_MS = 120000;
inline constexpr int KEEP_ALIVE_PINGS = 5;

// The drain stops once more than this many bytes were discarded (so after 1002).
inline constexpr uint32_t DRAIN_MAX_DISCARDED = 1000;

// QueryButtonSwitch's state: the keys in the low bits, the switches above them.
inline constexpr uint32_t INPUT_SWITCH_SHIFT = BUTTON_KEY_COUNT;

// Device information record of the JTAG access library.
inline constexpr uint32_t JTAG_INFO_SIZE = 167;
inline constexpr uint32_t JTAG_INFO_NAME_OFFSET = 112;

// "borad" is misspelt on purpose: the board's users know the text so.
inline constexpr const char* CONNECT_ERROR_TEXT = "Fail to connect FPGA borad.";

// The board object: the JTAG link, framed exchanges with the firmware and its commands.
// Every operation returns whether it worked and writes its outputs only on success.
class TBoard
{
public:
    /// Builds a disconnected board; the host supplies the clock, the beep and the program folder.
    explicit TBoard(THost& host);
    /// Disconnects.
    ~TBoard();
    TBoard(const TBoard&) = delete;
    TBoard& operator=(const TBoard&) = delete;

    /// Disconnects, then builds a fresh port and opens it. On failure errorText becomes
    /// "Fail to connect FPGA borad." and the board stays disconnected.
    bool Connect(QString& errorText, int32_t deviceIndex);
    /// Closes and drops the port, if any; BoardName becomes empty.
    void Disconnect();
    /// True when a port exists and its link is open.
    bool IsConnected() const;
    /// Discards bytes nobody read, one at a time, up to 1002; does nothing without a port.
    void DrainInput();
    /// One framed exchange: drains, sends the request, reads and checks the reply and copies
    /// exactly replyPayloadLen payload bytes into pReturnBuffer. False on any failure, with
    /// pReturnBuffer untouched; no port, a failed write, a short rest or a bad frame also beep.
    /// pReturnBuffer must be given and dwPayloadLen must not exceed PKT_PC2NIOS_MAX_PL_LEN
    /// (checked always; a breach aborts with that message).
    bool Transact(uint8_t command, uint8_t* pReturnBuffer, uint32_t headerLimitMs,
                  uint32_t dwPayloadLen, const uint8_t* payload, uint32_t replyPayloadLen);
    /// Reads exactly count bytes; the limit is checked between reads of up to 3000 ms each.
    /// False when they did not all come.
    bool ReceiveExact(uint8_t* buffer, uint32_t count, uint32_t limitMs);
    /// 8-bit wrapping sum of count bytes; 0 for an empty range.
    static uint8_t Checksum(const uint8_t* bytes, uint32_t count);
    /// True when a whole frame of frameLength bytes has its start mark, end mark and checksum.
    static bool VerifyFrame(const uint8_t* frame, uint32_t frameLength);

    /// The recursive lock that panels hold around their exchanges; never taken by the board.
    std::recursive_mutex& Lock() { return m_Lock; }
    /// Name from the JTAG library's info record at connect; empty while disconnected.
    QString BoardName() const { return m_BoardName; }
    /// Tick of the last successful Connect or the last KeepAlive.
    uint32_t LastActivityTick() const { return m_LastActivityTick; }
    /// A function to run again and again while a reply is awaited (the reads then last at most
    /// WAIT_HOOK_SLICE_MS each); an empty one takes it away. The limits stay as they are.
    void SetWaitHook(std::function<void()> hook) { m_WaitHook = std::move(hook); }
    /// Whether the most recent Transact got a well-formed reply. Lets a caller whose command
    /// returned false tell a failed link from a firmware status that was not 0.
    bool LastExchangeWorked() const { return m_bLastExchangeWorked; }

    /// Command 0. On success a non-empty reply name is written to name (empty leaves it).
    bool QueryBoardName(QString& name);
    /// Command 1. True when the firmware answered with status 0.
    bool Ping();
    /// One Ping, or up to five (stopping at the first failure) after more than 120000 ms of
    /// silence; always marks the activity time. Returns the last Ping's result.
    bool KeepAlive();
    /// Command 5. Bits 0-7 green LEDs, bits 8-17 red LEDs.
    bool SetLED(uint32_t mask);
    /// Command 6. state: bits 0-3 keys, bits 4-13 switches; written only on success.
    bool QueryButtonSwitch(uint32_t& state);
    /// Command 7. digit k in bits 4k..4k+3; extra is sent as given (the panel sends 0).
    bool SetSeg7(uint32_t digits, uint8_t extra);
    /// Command 8 with a 10000 ms header limit. False only when the exchange failed (outputs
    /// untouched); a non-zero status gives true with present false and the texts untouched.
    bool QuerySDCardInfo(bool& present, QString& csdText, QString& cidText, QString& fileSystemText,
                         bool& flag);
    /// Command 12 in chunks of up to 32743 bytes; stops at the first failed chunk.
    /// A length of 0 is true without an exchange.
    bool MemoryWrite(uint8_t memoryType, uint32_t address, uint32_t length, const uint8_t* data);
    /// Command 13 in chunks of up to 32747 bytes into destination; stops at the first failure.
    bool MemoryRead(uint8_t memoryType, uint32_t address, uint32_t length, uint8_t* destination);
    /// Command 19 in blocks of up to 128 bytes. Returns whether every exchange worked; ok
    /// whether every status was 0 (a non-zero status stops the walk). length <= 0 sends nothing.
    bool UartWrite(bool& ok, uint8_t device, int32_t length, const uint8_t* data);
    /// Command 20. Returns whether the exchange worked; ok only when the status is 0 and the
    /// count is at most 128, and only then count and destination (room for 128) are written.
    bool UartRead(bool& ok, uint8_t device, int32_t& count, uint8_t* destination);
    /// Command 21. Returns whether the exchange worked; ok when the status is 0 as well.
    bool DeviceControl(bool& ok, uint8_t device, uint8_t action, uint8_t argument);
    /// Command 53. Returns whether the exchange worked (outputs untouched otherwise); a non-zero
    /// status gives ok false and zero masks. A set mask bit marks a failing signal.
    bool HsmcLoopbackTest(bool& ok, uint64_t& ioErrorMask, uint32_t& xcvrErrorMask);

private:
    // Status-only command: true when the exchange worked and the status is 0.
    bool SimpleCommand(uint8_t command, uint32_t payloadLen, const uint8_t* payload);

    THost& m_Host;
    std::unique_ptr<TJtagPort> m_pPort;
    uint32_t m_LastActivityTick = 0;
    QString m_BoardName;
    bool m_bLastExchangeWorked = false;
    std::function<void()> m_WaitHook;
    std::recursive_mutex m_Lock;
};
