// The real program under Xvfb against the virtual board: the LED, 7-SEG, Switches, SD Card
// and ADC tabs clicked through, the board changed from its control interface, one screenshot
// per panel kept. Prints the two polling panels' poll periods and the program's CPU share.

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
constexpr int POLL_MS = 50;
constexpr int MEASURE_MS = 3000; // long enough for a settled panel, too
constexpr int INK_PIXELS = 8;

// Tabs of this test, client centre of each tab button.
enum TTab
{
    TAB_LED = 0,
    TAB_SEG7 = 1,
    TAB_BUTTON = 2,
    TAB_SDCARD = 4,
    TAB_ADC = 5
};
QPoint TabCentre(int tab)
{
    return QPoint(8 + tab / 5 * 98 + 46, 289 + tab % 5 * 45 + 19);
}

// Panel points, client pixels of the panel.
const QPoint UNLIGHT_ALL(218 + 32, 243 + 8);
const QPoint RLED0(332 + 11, 145 + 18);
const QPoint HEX0_UP(300 + 10, 170 + 8);
const QPoint SD_READ(288 + 32, 226 + 8);

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
    // Fields after the command's closing parenthesis; utime and stime are fields 14 and 15.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int UTIME_AFTER_COMM = 11;
    if (fields.size() <= UTIME_AFTER_COMM + 1)
        return -1;
    const double ticks =
        fields[UTIME_AFTER_COMM].toDouble() + fields[UTIME_AFTER_COMM + 1].toDouble();
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class PanelsE2eTest : public ::testing::Test
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

    // Polls until done() holds; false after the limit.
    template <class TDone> bool WaitFor(TDone done, int limitMs = STEP_LIMIT_MS)
    {
        const QDeadlineTimer deadline(limitMs);
        while (!deadline.hasExpired())
        {
            if (done())
                return true;
            QThread::msleep(POLL_MS);
        }
        return false;
    }

    QImage PanelShot() const { return m_X.Screenshot().copy(PANEL_RECT.translated(m_Window)); }

    // Waits until the panel's picture differs from before; the new picture.
    QImage WaitForPanelChange(const QImage& before)
    {
        QImage now;
        EXPECT_TRUE(WaitFor([&] { return (now = PanelShot()) != before; }))
            << "the panel did not change";
        return now;
    }

    // Clicks a tab and waits for its panel to replace the one shown.
    QImage ShowTab(int tab, const QImage& shown)
    {
        ClickClient(TabCentre(tab));
        return WaitForPanelChange(shown);
    }

    void ClickClient(QPoint at) { EXPECT_TRUE(m_X.ClickAt(m_Window + at)); }

    void Keep(const QImage& shot, const QString& name)
    {
        const QString path = QDir(QStringLiteral(HX9_E2E_ARTIFACTS)).filePath(name);
        EXPECT_TRUE(shot.save(path)) << path.toStdString();
        std::cout << "screenshot: " << path.toStdString() << std::endl;
    }

    long Requests()
    {
        const std::string status = m_pBoard->Control("status");
        std::smatch match;
        return std::regex_search(status, match, std::regex("requests=([0-9]+)"))
                   ? std::stol(match[1])
                   : -1;
    }

    // The mean time between the board's requests and the program's CPU share over a while.
    void MeasurePolling(const char* panel)
    {
        const long requests = Requests();
        const double cpu = CpuSeconds(m_Program.processId());
        QElapsedTimer clock;
        clock.start();
        QThread::msleep(MEASURE_MS);
        const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        const long polls = Requests() - requests;
        const double cpuShare = (CpuSeconds(m_Program.processId()) - cpu) / seconds * 100.0;
        EXPECT_GT(polls, 0) << panel << " panel does not poll";
        std::cout << panel << " panel: " << polls << " polls in " << seconds << " s, one every "
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

TEST_F(PanelsE2eTest, TheFivePanelsFollowTheBoard)
{
    StartProgram();
    QString id;
    ASSERT_TRUE(WaitFor([&] { return !(id = m_X.FindWindow(MAIN_CAPTION)).isEmpty(); }, LIMIT_MS));
    m_Window = m_X.WindowPosition(id);
    ASSERT_TRUE(WaitFor(
        [&]
        {
            return CountPixels(m_X.Screenshot(), STATUS_RECT.translated(m_Window), IsStatusGreen) >=
                   INK_PIXELS;
        },
        LIMIT_MS))
        << "no \"Connected\"";

    // LED: the tab is current after the connect. Unlight All, then RLED0 alone.
    QImage shown = PanelShot();
    ClickClient(PANEL_AT + UNLIGHT_ALL);
    EXPECT_TRUE(WaitFor([&] { return m_pBoard->Leds() == 0u; }));
    ClickClient(PANEL_AT + RLED0);
    EXPECT_TRUE(WaitFor([&] { return m_pBoard->Leds() == 0x100u; }));
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-led.png"));

    // 7-SEG: HEX0 up once.
    shown = ShowTab(TAB_SEG7, shown);
    ClickClient(PANEL_AT + HEX0_UP);
    EXPECT_TRUE(WaitFor(
        [&] { return m_pBoard->Control("seg7").find("digits=8889") != std::string::npos; }));
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-seg7.png"));

    // Switches: the board's keys and switches change; the panel follows by itself.
    shown = ShowTab(TAB_BUTTON, shown);
    MeasurePolling("keys and switches");
    shown = PanelShot();
    ASSERT_TRUE(m_pBoard->SetKeys(0x5));
    ASSERT_TRUE(m_pBoard->SetSwitches(0x2A5));
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-switches.png"));

    // SD Card: one Read of the board's card.
    shown = ShowTab(TAB_SDCARD, shown);
    ClickClient(PANEL_AT + SD_READ);
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-sdcard.png"));

    // ADC: new channel values reach the panel.
    shown = ShowTab(TAB_ADC, shown);
    MeasurePolling("ADC");
    shown = PanelShot();
    ASSERT_TRUE(m_pBoard->Command("adc 0 1234"));
    ASSERT_TRUE(m_pBoard->Command("adc 7 3300"));
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-adc.png"));

    ClickClient(CLOSE_BUTTON);
    EXPECT_TRUE(m_Program.waitForFinished(LIMIT_MS)) << "the close button did not end it";
    EXPECT_EQ(m_Program.exitCode(), 0);
}
