#pragma once

#include "host/InfoColour.h"

#include <QString>
#include <cstdint>

class TBoard;
class TDownload;
class THost;

// The board the sequence accepts, where its image lies, and the two gauge runs.
inline constexpr const char* BOARD_NAME = "HX9";
inline constexpr uint32_t BOARD_NAME_QUERY_MS = 3000;
inline constexpr const char* FPGA_IMAGE_FILE = "HX9_ControlPanel.sof";
inline constexpr uint32_t CONNECT_GAUGE_MS = 5000;
inline constexpr int CONNECT_GAUGE_FROM = 0;
inline constexpr int CONNECT_GAUGE_TO = 5;
inline constexpr uint32_t CONFIGURE_GAUGE_MS = 10000;
inline constexpr int CONFIGURE_GAUGE_FROM = 5;
inline constexpr int CONFIGURE_GAUGE_TO = 95;
inline constexpr const char* TEXT_CONNECTED = "Connected";
inline constexpr const char* TEXT_DISCONNECTED = "Disconnected";

// What the connect sequence shows while it runs. The main window paints it at once; hx9ctl
// prints it.
class TConnectView
{
public:
    virtual ~TConnectView() = default;

    /// The information line: a step, a failure, or "" to clear it.
    virtual void SetInfo(const QString& text, TInfoColour colour) = 0;
    /// The status label: "", "Connected" or "Disconnected".
    virtual void SetConnectStatus(const QString& text, TInfoColour colour) = 0;
    /// The connect button's caption and strip: "Disconnect" when connected, else "Connect".
    virtual void SetConnectLook(bool connected) = 0;
    /// Runs the gauge from `from` to `to` over duration ms.
    virtual void StartProgress(uint32_t duration, int from, int to) = 0;
    /// Stops the gauge where it stands, still shown.
    virtual void PauseProgress() = 0;
    /// Stops and hides the gauge.
    virtual void StopProgress() = 0;
    /// true while the whole sequence runs: controls disabled and the busy cursor; false
    /// puts both back.
    virtual void SetBusy(bool busy) = 0;
    /// Runs again and again during the sequence's long waits (the name query, the programmer):
    /// the window lets its clip and gauge move on here, user input stays out.
    virtual void WhileWaiting() {}
};

// Why the last attempt to reach the board failed.
enum class TConnectFailure
{
    None,
    NoLink,    // the link did not open: nothing answers at the board's address
    NoAnswer,  // the link opened but the firmware never answered its name (a blank FPGA)
    WrongName, // the firmware answered with a name other than "HX9"
    Configure  // the FPGA could not be configured
};

// Connecting the board: a silent attempt, and when it fails, configuring the FPGA with the
// image from the program folder and a second attempt. Messages go through the host.
class TConnectSequence
{
public:
    TConnectSequence(TBoard& board, THost& host, TConnectView& view);

    /// The whole sequence. Returns whether the link is open to a board that answered "HX9".
    bool DoConnect();
    /// One attempt: opens the link and checks the board name for up to BOARD_NAME_QUERY_MS.
    /// false closes the link again, puts the reason on the information line in red and, with
    /// showError, in an error message.
    bool ConnectBoard(bool showError);
    /// Configures the FPGA with FPGA_IMAGE_FILE through the download library; false after an
    /// error message.
    bool ConfigureFPGA();
    /// Why the last attempt or configuration failed; None after a success.
    TConnectFailure LastFailure() const { return m_LastFailure; }

private:
    bool RunSequence();
    bool ConfigureAndReconnect();
    bool Reopen();
    bool OpenAndCheckName(QString& errorText);
    bool QueryNameRepeatedly(QString& name);
    /// The reason the download library cannot be used, or "".
    QString CheckDownloadTool(TDownload& download);
    /// Closes the link and starts the configure gauge, then downloads the image.
    bool Download(TDownload& download, const QString& image, const QString& working);

    TBoard& m_Board;
    THost& m_Host;
    TConnectView& m_View;
    TConnectFailure m_LastFailure = TConnectFailure::None;
};
