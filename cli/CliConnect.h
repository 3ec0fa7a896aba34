#pragma once

#include <QString>

class TBoard;
class TCliHost;
class TConsole;

// The main window's connect sequence without windows: the same steps and texts, the
// information line and the message boxes both going to stderr.
class TCliConnect
{
public:
    /// verbose: show the steps ("Connecting Board...", ...) as well as the failures.
    TCliConnect(TBoard& board, TCliHost& host, TConsole& console, bool verbose);

    /// Silent attempt; when it fails, configure the FPGA with the image and try once more.
    bool DoConnect();
    /// Opens the link and checks the board name "HX9" (repeated for up to 3000 ms). On
    /// failure the link is closed and the reason shown when showError.
    bool ConnectBoard(bool showError);
    /// Configures the FPGA with <program folder>/HX9_ControlPanel.sof through TDownload.
    bool ConfigureFPGA();

private:
    void SetInfo(const QString& text);

    TBoard& m_Board;
    TCliHost& m_Host;
    TConsole& m_Console;
    bool m_bVerbose;
};
