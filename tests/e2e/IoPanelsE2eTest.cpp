// The real program under Xvfb against the virtual board: the UART-USB, HDMI-TX and HSMC tabs
// clicked through as a person would, one screenshot per panel kept (and one of the HSMC
// report box). Prints the UART panel's receive poll period and the program's CPU share.

#include "tests/e2e/Xvfb.h"
#include "tests/support/VirtualBoardProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <regex>
#include <unistd.h>

#if !defined(HX9_E2E_ARTIFACTS)
#error "HX9_E2E_ARTIFACTS must be defined"
#endif

namespace
{

const QString MAIN_CAPTION = QStringLiteral("Kelvaro - HX9 Control Panel V1.0.2");
const QRect STATUS_RECT(30, 540, 92, 22); // the status label, client pixels
const QPoint CLOSE_BUTTON(559 + 18, 19 + 6);
const QPoint PANEL_AT(204, 288);
const QRect PANEL_RECT(PANEL_AT, QSize(387, 276));
constexpr int LIMIT_MS = 60000;
constexpr int STEP_LIMIT_MS = 10000;
constexpr int WAIT_STEP_MS = 50;
constexpr int MEASURE_MS = 3000;
constexpr int INK_PIXELS = 8;

constexpr int TAB_RS232 = 6;
constexpr int TAB_VGA = 7;
constexpr int TAB_HSMC = 8;
QPoint TabCentre(int tab)
{
    return QPoint(8 + tab / 5 * 98 + 46, 289 + tab % 5 * 45 + 19);
}

// Panel points, client pixels of the panel.
const QPoint EDIT_SEND(34 + 160, 176 + 30);
const QPoint SEND(289 + 32, 242 + 8);
const QPoint COMBO_VGA(88 + 60, 50 + 10);
const QPoint PREVIEW_CENTRE(32 + 164, 88 + 84);
const QPoint VERIFY(292 + 32, 234 + 8);

bool IsStatusGreen(const QColor& c)
{
    return c.green() >= 100 && c.green() <= 160 && c.red() < 50 && c.blue() < 50;
}

int CountPixels(const QImage& image, const QRect& rect, bool (*match)(const QColor&))
{
    int count = 0;
    const QRect inside = rect.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += match(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

// CPU seconds the process has used so far, from /proc; negative when unreadable.
double CpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // utime and stime are the 12th and 13th fields after the command's closing parenthesis.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int UTIME_AFTER_COMM = 11;
    if (fields.size() <= UTIME_AFTER_COMM + 1)
        return -1;
    const double ticks =
        fields[UTIME_AFTER_COMM].toDouble() + fields[UTIME_AFTER_COMM + 1].toDouble();
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class IoPanelsE2eTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_X.Start()) << m_X.Error().toStdString();
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(HX9_E2E_ARTIFACTS)));
        hx9test::TVirtualBoardProcess::TOptions options;
        options.Programmed = true;
        m_pBoard = std::make_unique<hx9test::TVirtualBoardProcess>(options);
        ASSERT_TRUE(m_pBoard->Start()) << m_pBoard->LastError();
    }

    void TearDown() override
    {
        if (m_Program.state() != QProcess::NotRunning)
        {
            m_Program.kill();
            m_Program.waitForFinished(LIMIT_MS);
        }
    }

    void StartProgram()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_X.Display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("TMPDIR"), m_Temp.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_Temp.path());
        env.insert(QStringLiteral("QUARTUS_ROOTDIR"),
                   QString::fromStdString(hx9test::QuartusRoot()));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        m_Program.setProcessEnvironment(env);
        m_Program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_Program.setStandardOutputFile(QProcess::nullDevice());
        m_Program.start(QString::fromStdString(hx9test::ProgramDir() + "/hx9-control-panel"), {});
        ASSERT_TRUE(m_Program.waitForStarted(LIMIT_MS));
    }

    void WaitUntilConnected()
    {
        QString id;
        ASSERT_TRUE(
            WaitFor([&] { return !(id = m_X.FindWindow(MAIN_CAPTION)).isEmpty(); }, LIMIT_MS));
        m_Window = m_X.WindowPosition(id);
        ASSERT_TRUE(WaitFor(
            [&]
            {
                return CountPixels(m_X.Screenshot(), STATUS_RECT.translated(m_Window),
                                   IsStatusGreen) >= INK_PIXELS;
            },
            LIMIT_MS))
            << "no \"Connected\"";
    }

    template <class TDone> bool WaitFor(TDone done, int limitMs = STEP_LIMIT_MS)
    {
        const QDeadlineTimer deadline(limitMs);
        while (!deadline.hasExpired())
        {
            if (done())
                return true;
            QThread::msleep(WAIT_STEP_MS);
        }
        return false;
    }

    QImage PanelShot() const { return m_X.Screenshot().copy(PANEL_RECT.translated(m_Window)); }

    QImage WaitForPanelChange(const QImage& before)
    {
        QImage now;
        EXPECT_TRUE(WaitFor([&] { return (now = PanelShot()) != before; }))
            << "the panel did not change";
        return now;
    }

    QImage ShowTab(int tab, const QImage& shown)
    {
        ClickClient(TabCentre(tab));
        return WaitForPanelChange(shown);
    }

    void ClickClient(QPoint at) { EXPECT_TRUE(m_X.ClickAt(m_Window + at)); }
    void KeyClient(QPoint at, const char* key)
    {
        EXPECT_TRUE(m_X.KeyAt(m_Window + at, QString::fromLatin1(key)));
    }

    void Keep(const QImage& shot, const QString& name)
    {
        const QString path = QDir(QStringLiteral(HX9_E2E_ARTIFACTS)).filePath(name);
        EXPECT_TRUE(shot.save(path)) << path.toStdString();
        std::cout << "screenshot: " << path.toStdString() << std::endl;
    }

    std::string BoardValue(const std::string& line)
    {
        std::string value;
        return m_pBoard->Command(line, &value) ? value : m_pBoard->LastError();
    }

    long Requests()
    {
        const std::string status = m_pBoard->Control("status");
        std::smatch match;
        return std::regex_search(status, match, std::regex("requests=([0-9]+)"))
                   ? std::stol(match[1])
                   : -1;
    }

    void MeasureUartPolling()
    {
        const long requests = Requests();
        const double cpu = CpuSeconds(m_Program.processId());
        QElapsedTimer clock;
        clock.start();
        QThread::msleep(MEASURE_MS);
        const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        const long polls = Requests() - requests;
        const double cpuShare = (CpuSeconds(m_Program.processId()) - cpu) / seconds * 100.0;
        EXPECT_GT(polls, 0) << "the UART panel does not poll";
        std::cout << "UART-USB panel: " << polls << " polls in " << seconds << " s, one every "
                  << (polls > 0 ? seconds * 1000.0 / static_cast<double>(polls) : 0.0)
                  << " ms; program CPU " << cpuShare << " % of one core" << std::endl;
    }

    TXvfb m_X;
    QTemporaryDir m_Temp;
    std::unique_ptr<hx9test::TVirtualBoardProcess> m_pBoard;
    QProcess m_Program;
    QPoint m_Window;
};

} // namespace

TEST_F(IoPanelsE2eTest, UartHdmiAndHsmcPanelsDriveTheBoard)
{
    ASSERT_TRUE(m_pBoard->Command("hsmc fail 0x400 0 0x11 0x1"));
    StartProgram();
    WaitUntilConnected();
    QImage shown = PanelShot();

    // UART-USB: the board's text arrives by itself; a typed line goes out with its zero byte.
    shown = ShowTab(TAB_RS232, shown);
    EXPECT_TRUE(WaitFor([&] { return BoardValue("uart").find("running=1") == 0; }));
    MeasureUartPolling();
    ASSERT_TRUE(m_pBoard->Command("uart receive-text Hello from the board"));
    ClickClient(PANEL_AT + EDIT_SEND);
    m_X.Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("Hello board")});
    ClickClient(PANEL_AT + SEND);
    EXPECT_TRUE(WaitFor([&] { return BoardValue("uart sent") == "48656c6c6f20626f61726400"; }))
        << BoardValue("uart sent");
    EXPECT_EQ(BoardValue("uart blocks"), "12");
    shown = WaitForPanelChange(shown);
    QThread::msleep(300); // the received text and the last information text
    shown = PanelShot();
    Keep(shown, QStringLiteral("panel-uart.png"));

    // HDMI-TX: two steps down the list from "Color Scale" is "Green".
    shown = ShowTab(TAB_VGA, shown);
    EXPECT_EQ(BoardValue("hdmi"), "running=1 pattern=0");
    ClickClient(PANEL_AT + COMBO_VGA);
    QThread::msleep(300); // the list opens
    for (const char* key : {"Down", "Down", "Return"})
        KeyClient(PANEL_AT + COMBO_VGA, key);
    EXPECT_TRUE(WaitFor([&] { return BoardValue("hdmi") == "running=1 pattern=2"; }))
        << BoardValue("hdmi");
    EXPECT_TRUE(
        WaitFor([&] { return PanelShot().pixelColor(PREVIEW_CENTRE) == QColor(0, 128, 0); }));
    shown = PanelShot();
    Keep(shown, QStringLiteral("panel-hdmi.png"));

    // HSMC: Verify finds failing pins; the report box is kept with the screen behind it.
    shown = ShowTab(TAB_HSMC, shown);
    ClickClient(PANEL_AT + VERIFY);
    QString box;
    EXPECT_TRUE(
        WaitFor([&] { return !(box = m_X.FindWindow(QStringLiteral("Information"))).isEmpty(); }))
        << "no report box";
    QThread::msleep(300);
    Keep(m_X.Screenshot(), QStringLiteral("panel-hsmc-report.png"));
    if (!box.isEmpty())
    {
        EXPECT_TRUE(m_X.KeyAt(m_X.WindowPosition(box) + QPoint(10, 10), QStringLiteral("Return")));
    }
    shown = WaitForPanelChange(shown);
    QThread::msleep(200);
    Keep(PanelShot(), QStringLiteral("panel-hsmc.png"));

    ClickClient(CLOSE_BUTTON);
    EXPECT_TRUE(m_Program.waitForFinished(LIMIT_MS)) << "the close button did not end it";
    EXPECT_EQ(m_Program.exitCode(), 0);
}
