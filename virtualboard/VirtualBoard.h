#pragma once

#include "virtualboard/Firmware.h"
#include "virtualboard/LinkFaults.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vboard
{

// The board behind the sockets: an FPGA that is blank until configured with the HX9
// image, the firmware it then runs, and the link faults waiting for its replies.
// Time comes in as milliseconds from the caller, so tests drive it with a fake clock.
class TVirtualBoard
{
public:
    // A request that stays incomplete this long after its last byte is dropped: the PC
    // writes every frame at once, so the rest is not coming.
    static constexpr uint32_t PARTIAL_FRAME_TIMEOUT_MS = 1000;

    /// Configures the FPGA from an image file; false with a reason, the FPGA left as it was.
    bool Program(const std::string& path, std::string& error);

    /// Configures the FPGA from image bytes; false with a reason, the FPGA left as it was.
    bool ProgramImage(const std::vector<uint8_t>& image, std::string& error);

    /// Power off and on: the FPGA is blank again, every output and memory cleared.
    void PowerCycle();

    bool IsProgrammed() const { return m_bProgrammed; }

    /// Counts configurations and power cycles; a change ends the current JTAG session.
    uint32_t Generation() const { return m_Generation; }

    /// A new JTAG client: bytes of the previous one no longer count.
    void StartSession();

    /// Bytes from the JTAG client at nowMs; returns what goes back, faults applied.
    std::vector<TOutgoing> Receive(const uint8_t* bytes, size_t count, uint64_t nowMs);

    /// Drops a request left incomplete for PARTIAL_FRAME_TIMEOUT_MS; returns replies found behind
    /// it.
    std::vector<TOutgoing> Tick(uint64_t nowMs);

    /// Milliseconds until Tick has work to do, or -1 when it has none.
    int64_t NextTickIn(uint64_t nowMs) const;

    TFirmware& Firmware() { return m_Firmware; }
    const TFirmware& Firmware() const { return m_Firmware; }
    TLinkFaults& Faults() { return m_Faults; }
    const TLinkFaults& Faults() const { return m_Faults; }

private:
    std::vector<TOutgoing> Send(TFirmware::TReplies replies);

    TFirmware m_Firmware;
    TLinkFaults m_Faults;
    bool m_bProgrammed = false;
    uint32_t m_Generation = 0;
    uint64_t m_LastInputMs = 0;
};

} // namespace vboard
