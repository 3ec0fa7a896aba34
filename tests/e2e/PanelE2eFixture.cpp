#include "tests/e2e/PanelE2eFixture.h"

#include "tests/e2e/E2eScreen.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <iostream>
#include <regex>
#include <unistd.h>

#if !defined(HX9_E2E_ARTIFACTS)
#error "HX9_E2E_ARTIFACTS must be defined"
#endif

namespace
{

const QSize PANEL_SIZE(387, 276);
constexpr int LIMIT_MS = 60000;
constexpr int MEASURE_MS = 3000; // also long enough for a panel to settle

// CPU seconds the process has used so far, from /proc; negative when unreadable.
double CpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // utime and stime are fields 14 and 15, the 12th and 13th after the command's ")".
    constexpr int UTIME_AFTER_COMM = 11;
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() <= UTIME_AFTER_COMM + 1)
        return -1;
    const double ticks =
        fields[UTIME_AFTER_COMM].toDouble() + fields[UTIME_AFTER_COMM + 1].toDouble();
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

QPoint TabCentre(int tab)
{
    return QPoint(8 + tab / 5 * 98 + 46, 289 + tab % 5 * 45 + 19);
}

} // namespace

void PanelE2eTest::SetUp()
{
    ASSERT_TRUE(m_X.Start()) << m_X.Error().toStdString();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(HX9_E2E_ARTIFACTS)));
    hx9test::TVirtualBoardProcess::TOptions options;
    options.Programmed = true;
    m_pBoard = std::make_unique<hx9test::TVirtualBoardProcess>(options);
    ASSERT_TRUE(m_pBoard->Start()) << m_pBoard->LastError();
}

void PanelE2eTest::TearDown()
{
    if (m_Program.state() != QProcess::NotRunning)
    {
        m_Program.kill();
        m_Program.waitForFinished(LIMIT_MS);
    }
}

bool PanelE2eTest::StartConnected()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_X.Display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("TMPDIR"), m_Temp.path()); // its own single-instance lock
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_Temp.path());
    env.insert(QStringLiteral("QUARTUS_ROOTDIR"), QString::fromStdString(hx9test::QuartusRoot()));
    // System libraries free their caches racily at exit under a real X server. No quarantine,
    // so that the resident memory measured is the program's own.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               QStringLiteral("detect_leaks=0:quarantine_size_mb=0"));
    m_Program.setProcessEnvironment(env);
    m_Program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_Program.setStandardOutputFile(QProcess::nullDevice());
    m_Program.start(QString::fromStdString(hx9test::ProgramDir() + "/hx9-control-panel"), {});
    QString id;
    if (!m_Program.waitForStarted(LIMIT_MS) ||
        !WaitFor([&] { return !(id = m_X.FindWindow(E2E_MAIN_CAPTION)).isEmpty(); }, LIMIT_MS))
        return false;
    m_Window = m_X.WindowPosition(id);
    const QRect status = E2E_STATUS_RECT.translated(m_Window);
    return WaitFor(
        [&] { return CountPixels(m_X.Screenshot(), status, IsStatusGreen) >= E2E_INK_PIXELS; },
        LIMIT_MS);
}

void PanelE2eTest::Close()
{
    ClickClient(E2E_CLOSE_BUTTON);
    EXPECT_TRUE(m_Program.waitForFinished(LIMIT_MS)) << "the close button did not end it";
    EXPECT_EQ(m_Program.exitCode(), 0);
}

void PanelE2eTest::ClickClient(QPoint at)
{
    EXPECT_TRUE(m_X.ClickAt(m_Window + at));
}

QImage PanelE2eTest::ShowTab(int tab, const QImage& shown)
{
    ClickClient(TabCentre(tab));
    return WaitForPanelChange(shown);
}

QImage PanelE2eTest::PanelShot() const
{
    return m_X.Screenshot().copy(QRect(m_Window + E2E_PANEL_AT, PANEL_SIZE));
}

QImage PanelE2eTest::WaitForPanelChange(const QImage& before)
{
    QImage now;
    EXPECT_TRUE(WaitFor([&] { return (now = PanelShot()) != before; }))
        << "the panel did not change";
    return now;
}

void PanelE2eTest::Keep(const QImage& shot, const QString& name) const
{
    const QString path = QDir(QStringLiteral(HX9_E2E_ARTIFACTS)).filePath(name);
    EXPECT_TRUE(shot.save(path)) << path.toStdString();
    std::cout << "screenshot: " << path.toStdString() << std::endl;
}

long PanelE2eTest::Requests()
{
    const std::string status = m_pBoard->Control("status");
    std::smatch match;
    return std::regex_search(status, match, std::regex("requests=([0-9]+)")) ? std::stol(match[1])
                                                                             : -1;
}

void PanelE2eTest::MeasurePolling(const char* panel)
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
