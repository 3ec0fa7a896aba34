#include "session/ConnectSequence.h"

#include "board/Board.h"
#include "config/Download.h"
#include "config/ProgrammerLocation.h"
#include "host/Host.h"

#include <QFileInfo>
#include <chrono>
#include <future>

namespace
{

constexpr int32_t BOARD_DEVICE_INDEX = 0;
constexpr std::chrono::milliseconds DOWNLOAD_WAIT_SLICE(20);
const char* const TEXT_CONFIGURE_FPGA = "Configure FPGA";

} // namespace

TConnectSequence::TConnectSequence(TBoard& board, THost& host, TConnectView& view)
    : m_Board(board), m_Host(host), m_View(view)
{
}

bool TConnectSequence::DoConnect()
{
    // The view keeps its window alive while the board is awaited.
    m_Board.SetWaitHook([this] { m_View.WhileWaiting(); });
    const bool ok = RunSequence();
    m_Board.SetWaitHook({});
    return ok;
}

bool TConnectSequence::RunSequence()
{
    m_View.SetBusy(true);
    m_View.SetConnectStatus(QString(), TInfoColour::Yellow);
    m_View.StartProgress(CONNECT_GAUGE_MS, CONNECT_GAUGE_FROM, CONNECT_GAUGE_TO);

    // A board that already holds the image answers at once; only then no download.
    bool ok = ConnectBoard(false);
    if (!ok)
    {
        m_Board.DrainInput();
        ok = ConfigureAndReconnect();
    }
    if (!ok)
    {
        m_View.SetConnectStatus(QString::fromLatin1(TEXT_DISCONNECTED), TInfoColour::Red);
    }
    m_View.StopProgress();
    if (ok)
    {
        m_View.SetInfo(QString(), TInfoColour::Yellow);
    }
    m_View.SetConnectLook(ok);
    m_View.SetBusy(false);
    return ok;
}

bool TConnectSequence::ConfigureAndReconnect()
{
    if (!ConfigureFPGA())
    {
        return false;
    }
    m_Board.DrainInput();
    const bool ok = ConnectBoard(true);
    m_Board.DrainInput();
    return ok && Reopen();
}

bool TConnectSequence::Reopen()
{
    // The link is opened once more after the name check.
    m_Board.Disconnect();
    QString errorText;
    if (m_Board.Connect(errorText, BOARD_DEVICE_INDEX))
    {
        return true;
    }
    m_LastFailure = TConnectFailure::NoLink;
    // Otherwise the line would still say "Check board ID..." under "Disconnected".
    m_View.SetInfo(errorText, TInfoColour::Red);
    return false;
}

bool TConnectSequence::ConnectBoard(bool showError)
{
    QString errorText;
    m_View.SetInfo(QStringLiteral("Connecting Board..."), TInfoColour::Yellow);
    m_LastFailure = TConnectFailure::None;
    if (m_Board.IsConnected() || OpenAndCheckName(errorText))
    {
        m_View.SetConnectStatus(QString::fromLatin1(TEXT_CONNECTED), TInfoColour::Green);
        m_View.SetConnectLook(true);
        return true;
    }
    if (errorText.isEmpty())
    {
        errorText = QStringLiteral("Connect NG!");
    }
    m_View.SetInfo(errorText, TInfoColour::Red);
    if (showError)
    {
        m_Host.ShowMessage(THost::mkError, errorText);
    }
    return false;
}

bool TConnectSequence::OpenAndCheckName(QString& errorText)
{
    m_View.SetInfo(QStringLiteral("Detect board type..."), TInfoColour::Yellow);
    if (!m_Board.Connect(errorText, BOARD_DEVICE_INDEX))
    {
        m_LastFailure = TConnectFailure::NoLink;
        return false;
    }
    m_View.SetInfo(QStringLiteral("Check board ID..."), TInfoColour::Yellow);
    QString name;
    if (!QueryNameRepeatedly(name))
    {
        // A firmware that never answers must not pass for a connected board.
        errorText = QStringLiteral("Failed to query board name.");
        m_LastFailure = TConnectFailure::NoAnswer;
    }
    else if (name != QLatin1String(BOARD_NAME))
    {
        errorText = QStringLiteral("Invalid Board Name");
        m_LastFailure = TConnectFailure::WrongName;
    }
    else
    {
        return true;
    }
    m_Board.Disconnect();
    return false;
}

bool TConnectSequence::QueryNameRepeatedly(QString& name)
{
    const uint32_t start = m_Host.TickCount();
    bool answered = false;
    do
    {
        answered = m_Board.QueryBoardName(name);
    } while (!answered && m_Host.TickCount() - start < BOARD_NAME_QUERY_MS);
    return answered;
}

bool TConnectSequence::ConfigureFPGA()
{
    TDownload download(m_Host);
    QString errorText = CheckDownloadTool(download);
    bool ok = errorText.isEmpty();
    const QString programFolder = m_Host.ProgramFolder();
    const QString image = programFolder + QString::fromLatin1(FPGA_IMAGE_FILE);
    const QString imageName = QFileInfo(image).fileName();
    const QString working = QString::fromLatin1(TEXT_CONFIGURE_FPGA) + QStringLiteral("...");
    m_View.SetInfo(working, TInfoColour::Yellow);
    SelectWorkingFolder(m_Host, false);
    if (ok && !QFileInfo(image).isFile())
    {
        errorText = QStringLiteral("Can not find the file: %1").arg(imageName);
        ok = false;
    }
    if (ok)
    {
        ok = Download(download, image, working);
        if (!ok)
        {
            errorText = QStringLiteral("download SOPC file (%1) fail!").arg(imageName);
        }
    }
    if (!ok)
    {
        m_LastFailure = TConnectFailure::Configure;
        m_View.PauseProgress();
        m_Host.ShowMessage(THost::mkError, errorText);
    }
    m_View.SetInfo(
        QStringLiteral("%1 %2").arg(QString::fromLatin1(TEXT_CONFIGURE_FPGA),
                                    ok ? QStringLiteral("success") : QStringLiteral("fail")),
        ok ? TInfoColour::Green : TInfoColour::Red);
    return ok;
}

bool TConnectSequence::Download(TDownload& download, const QString& image, const QString& working)
{
    if (m_Board.IsConnected())
    {
        m_Board.Disconnect();
    }
    m_View.SetConnectStatus(QString::fromLatin1(TEXT_DISCONNECTED), TInfoColour::Red);
    m_View.StartProgress(CONFIGURE_GAUGE_MS, CONFIGURE_GAUGE_FROM, CONFIGURE_GAUGE_TO);
    m_View.SetInfo(working, TInfoColour::Yellow);
    // The library blocks while the programmer runs: wait for it beside the view's thread, so
    // the view can keep its window alive meanwhile. The library is all the worker touches.
    std::future<bool> done = std::async(std::launch::async, [&download, &image]
                                        { return download.DownloadImage(image); });
    while (done.wait_for(DOWNLOAD_WAIT_SLICE) != std::future_status::ready)
    {
        m_View.WhileWaiting();
    }
    return done.get();
}

QString TConnectSequence::CheckDownloadTool(TDownload& download)
{
    if (!download.IsLoaded())
    {
        return QStringLiteral("Download tool not found.");
    }
    if (download.QuartusVersion() == 0.0)
    {
        return QStringLiteral("Please make sure Quartus is installed!");
    }
    return QString();
}
