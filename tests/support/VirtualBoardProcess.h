#pragma once

// Starts the virtual board daemon for a test and controls it.
//
//   hx9test::TVirtualBoardProcess board;           // nothing runs yet
//   ASSERT_TRUE(board.Start()) << board.LastError();  // "serve --port 0 --stay", env set
//   ASSERT_TRUE(board.Program());                   // load the HX9 image: JTAG port opens
//   board.Command("keys 0x5");                      // any control line, see virtualboard/README.md
//   std::string leds; board.Command("leds", &leds); // value after "ok"
//   board.InjectFault("checksum 2");                // the next two replies are corrupted
//   // destructor: daemon killed and reaped, KELVARO_JTAG_SERVER restored
//
// While started, KELVARO_JTAG_SERVER is "127.0.0.1:<JtagPort>", so the JTAG library,
// quartus_pgm and hx9-board-sim client commands all reach this board.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace hx9test
{

/// The build's program folder (bin/): program, libraries, image, hx9-board-sim, quartus/.
std::string ProgramDir();

/// Full path of HX9_ControlPanel.sof in the program folder.
std::string ImagePath();

/// Full path of the virtual Quartus root (<program folder>/quartus), for QUARTUS_ROOTDIR.
std::string QuartusRoot();

class TVirtualBoardProcess
{
public:
    struct TOptions
    {
        bool Programmed = false;            // start with the HX9 image loaded (JTAG port open)
        bool Stay = true;                   // --stay: never exit for want of clients
        bool SetEnvironment = true;         // point KELVARO_JTAG_SERVER at this board
        std::vector<std::string> ExtraArgs; // more "serve" options
    };

    TVirtualBoardProcess();
    explicit TVirtualBoardProcess(TOptions options);
    TVirtualBoardProcess(const TVirtualBoardProcess&) = delete;
    TVirtualBoardProcess& operator=(const TVirtualBoardProcess&) = delete;
    /// Kills and reaps the daemon, restores KELVARO_JTAG_SERVER.
    ~TVirtualBoardProcess();

    /// Starts "hx9-board-sim serve --port 0 [--stay]" and waits for its port; false with LastError.
    bool Start();

    /// Asks the daemon to end, kills it if it does not, reaps it; true when it had been running.
    bool Stop();

    /// Waits up to timeout for the daemon to exit on its own (e.g. idle timeout).
    /// True with its exit code when it did; the process is reaped.
    bool WaitForExit(std::chrono::milliseconds timeout, int* exitCode = nullptr);

    bool IsRunning() const { return m_Pid > 0; }
    pid_t Pid() const { return m_Pid; }
    uint16_t JtagPort() const { return m_JtagPort; }
    uint16_t ControlPort() const { return static_cast<uint16_t>(m_JtagPort + 1); }
    /// "127.0.0.1:<JtagPort>", the value for KELVARO_JTAG_SERVER.
    std::string Address() const;
    const std::string& LastError() const { return m_LastError; }

    /// Sends one control line; returns the reply line ("ok ..." / "error ..."), or
    /// "error <why>" when the daemon cannot be reached.
    std::string Control(const std::string& line);

    /// Sends one control line; true on an "ok" reply, value = the text after "ok ".
    /// On "error" false, with the reply kept in LastError.
    bool Command(const std::string& line, std::string* value = nullptr);

    /// Configures the FPGA with the build's HX9 image (or the file given).
    bool Program();
    bool Program(const std::string& imagePath);
    /// Power off and on: blank FPGA, JTAG port refuses connects, outputs and memories cleared.
    bool PowerCycle();
    /// Queues a link fault: "stall|checksum|endmark|code|length|drop [N]",
    /// "delay MS [N]" or "junk BYTES [N]".
    bool InjectFault(const std::string& fault);
    bool ClearFaults();
    bool SetKeys(uint32_t mask);
    bool SetSwitches(uint32_t mask);
    /// The 18 LED bits the firmware drives; empty when the query fails.
    std::optional<uint32_t> Leds();

private:
    bool Fail(const std::string& error);
    void RestoreEnvironment();

    TOptions m_Options;
    pid_t m_Pid = -1;
    uint16_t m_JtagPort = 0;
    std::string m_LastError;
    bool m_bEnvironmentSet = false;
    std::optional<std::string> m_SavedEnvironment;
};

} // namespace hx9test
