#include "cli/CliConnect.h"

#include "board/Board.h"
#include "cli/CliHost.h"
#include "cli/Console.h"
#include "config/Download.h"
#include "config/ProgrammerLocation.h"

#include <QFileInfo>

namespace
{
const QString EXPECTED_BOARD_NAME = QStringLiteral("HX9");
constexpr uint32_t NAME_QUERY_LIMIT_MS = 3000;
const QString IMAGE_FILE = QStringLiteral("HX9_ControlPanel.sof");
const QString CONFIGURE_TEXT = QStringLiteral("Configure FPGA");
constexpr int32_t DEVICE_INDEX = 0;
} // namespace

TCliConnect::TCliConnect(TBoard& board, TCliHost& host, TConsole& console, bool verbose)
    : m_Board(board), m_Host(host), m_Console(console), m_bVerbose(verbose)
{
}

void TCliConnect::SetInfo(const QString& text)
{
    if (m_bVerbose && !text.isEmpty())
        m_Console.Info(text);
}

bool TCliConnect::DoConnect()
{
    bool ok = ConnectBoard(false);
    if (!ok)
    {
        m_Board.DrainInput();
        ok = ConfigureFPGA();
        if (ok)
        {
            m_Board.DrainInput();
            ok = ConnectBoard(true);
            m_Board.DrainInput();
            if (ok)
            {
                // The link is opened once more after the name check, as the window does.
                m_Board.Disconnect();
                QString ignored;
                ok = m_Board.Connect(ignored, DEVICE_INDEX);
            }
        }
    }
    if (!ok)
        SetInfo(QStringLiteral("Disconnected"));
    return ok;
}

bool TCliConnect::ConnectBoard(bool showError)
{
    QString errorText;
    SetInfo(QStringLiteral("Connecting Board..."));
    bool ok = m_Board.IsConnected();
    if (!ok)
    {
        SetInfo(QStringLiteral("Detect board type..."));
        ok = m_Board.Connect(errorText, DEVICE_INDEX);
        if (ok)
        {
            SetInfo(QStringLiteral("Check board ID..."));
            QString name;
            bool answered = false;
            const uint32_t start = m_Host.TickCount();
            do
            {
                answered = m_Board.QueryBoardName(name);
            } while (!answered && m_Host.TickCount() - start < NAME_QUERY_LIMIT_MS);
            if (answered && name != EXPECTED_BOARD_NAME)
            {
                ok = false;
                errorText = QStringLiteral("Invalid Board Name");
            }
            if (!answered)
            {
                ok = false;
                errorText = QStringLiteral("Failed to query board name.");
            }
            if (!ok)
                m_Board.Disconnect();
        }
    }
    if (ok)
    {
        SetInfo(QStringLiteral("Connected"));
        return true;
    }
    if (errorText.isEmpty())
        errorText = QStringLiteral("Connect NG!");
    if (showError)
        m_Console.Error(errorText);
    else
        SetInfo(errorText);
    return false;
}

bool TCliConnect::ConfigureFPGA()
{
    TDownload download(m_Host);
    bool ok = true;
    QString errorText;
    if (!download.IsLoaded())
    {
        errorText = QStringLiteral("Download tool not found.");
        ok = false;
    }
    if (ok && download.QuartusVersion() == 0.0)
    {
        errorText = QStringLiteral("Please make sure Quartus is installed!");
        ok = false;
    }
    const QString image = m_Host.ProgramFolder() + IMAGE_FILE;
    SetInfo(CONFIGURE_TEXT + QStringLiteral("..."));
    SelectWorkingFolder(m_Host, false);
    if (ok && !QFileInfo::exists(image))
    {
        errorText = QStringLiteral("Can not find the file: %1").arg(IMAGE_FILE);
        ok = false;
    }
    if (ok && m_Board.IsConnected())
        m_Board.Disconnect();
    if (ok)
    {
        ok = download.DownloadImage(image);
        if (!ok)
            errorText = QStringLiteral("download SOPC file (%1) fail!").arg(IMAGE_FILE);
    }
    if (!ok)
        m_Console.Error(errorText);
    const QString result = QStringLiteral("%1 %2").arg(
        CONFIGURE_TEXT, ok ? QStringLiteral("success") : QStringLiteral("fail"));
    if (ok)
        SetInfo(result);
    else
        m_Console.Error(result);
    return ok;
}
