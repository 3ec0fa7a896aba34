#include "tests/e2e/E2eScreen.h"
#include "tests/e2e/Xvfb.h"
#include "tests/support/VirtualBoardProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

#if !defined(HX9_E2E_ARTIFACTS)
#error "HX9_E2E_ARTIFACTS must be defined"
#endif

namespace
{

const QRect LED_TAB_RECT(8, 289, 93, 38);
constexpr int CONNECT_LIMIT_MS = 60000;
constexpr int WINDOW_LIMIT_MS = 30000;
constexpr int EXIT_LIMIT_MS = 20000;
constexpr int POLL_MS = 50;

// A checked tab's caption is written in RGB 0,234,255.
bool IsCheckedCaption(const QColor& c)
{
    return c.red() < 60 && c.green() > 180 && c.blue() > 200;
}

// The real program from the program folder, on a private X display, against a virtual board.
class ControlPanelE2eTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_X.Start()) << m_X.Error().toStdString();
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(HX9_E2E_ARTIFACTS)));
    }

    void TearDown() override
    {
        for (auto& program : m_Programs)
        {
            if (program->state() != QProcess::NotRunning)
            {
                program->kill();
                program->waitForFinished(EXIT_LIMIT_MS);
            }
        }
    }

    void StartBoard(bool programmed)
    {
        hx9test::TVirtualBoardProcess::TOptions options;
        options.Programmed = programmed;
        m_pBoard = std::make_unique<hx9test::TVirtualBoardProcess>(options);
        ASSERT_TRUE(m_pBoard->Start()) << m_pBoard->LastError();
    }

    // With virtualBoard the program is told to use its own virtual programmer, whatever
    // QUARTUS_ROOTDIR says.
    QProcess& StartProgram(bool virtualBoard = false)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_X.Display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("TMPDIR"), m_Temp.path()); // its own single-instance lock
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_Temp.path());
        env.insert(QStringLiteral("QUARTUS_ROOTDIR"),
                   virtualBoard ? m_Temp.path() : QString::fromStdString(hx9test::QuartusRoot()));
        // Under a real X server the system libraries (D-Bus, fontconfig, xcb) free their caches
        // racily at exit; leaks of our own code are caught by the offscreen window tests.
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        auto program = std::make_unique<QProcess>();
        program->setProcessEnvironment(env);
        program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program->setStandardOutputFile(QProcess::nullDevice());
        program->start(QString::fromStdString(hx9test::ProgramDir() + "/hx9-control-panel"),
                       virtualBoard ? QStringList{QStringLiteral("--virtual-board")}
                                    : QStringList());
        EXPECT_TRUE(program->waitForStarted(EXIT_LIMIT_MS));
        m_Programs.push_back(std::move(program));
        return *m_Programs.back();
    }

    // Polls until the named window exists; its id, empty after the limit.
    QString WaitForWindow(const QString& name)
    {
        const QDeadlineTimer deadline(WINDOW_LIMIT_MS);
        while (!deadline.hasExpired())
        {
            const QString id = m_X.FindWindow(name);
            if (!id.isEmpty())
            {
                return id;
            }
            QThread::msleep(POLL_MS);
        }
        return {};
    }

    // Polls screenshots until the window shows "Connected" with the LED tab checked.
    bool WaitForConnected(const QPoint& window, QImage& shot)
    {
        const QDeadlineTimer deadline(CONNECT_LIMIT_MS);
        while (!deadline.hasExpired())
        {
            shot = m_X.Screenshot();
            if (!shot.isNull() &&
                CountPixels(shot, E2E_STATUS_RECT.translated(window), IsStatusGreen) >=
                    E2E_INK_PIXELS &&
                CountPixels(shot, LED_TAB_RECT.translated(window), IsCheckedCaption) >=
                    E2E_INK_PIXELS)
            {
                return true;
            }
            QThread::msleep(POLL_MS);
        }
        return false;
    }

    QString SaveArtefact(const QImage& shot, const QString& name)
    {
        const QString path = QDir(QStringLiteral(HX9_E2E_ARTIFACTS)).filePath(name);
        EXPECT_TRUE(shot.save(path)) << path.toStdString();
        std::cout << "screenshot: " << path.toStdString() << std::endl;
        return path;
    }

    // Starts the program, waits for "Connected", keeps the screenshot, closes with the close
    // button; the time from start to "Connected" in ms.
    qint64 RunToConnected(const QString& artefact, bool virtualBoard = false)
    {
        QElapsedTimer clock;
        clock.start();
        QProcess& program = StartProgram(virtualBoard);
        const QString id = WaitForWindow(E2E_MAIN_CAPTION);
        EXPECT_FALSE(id.isEmpty()) << "no main window appeared";
        if (id.isEmpty())
        {
            return -1;
        }
        // What the desktop shows for the window (_NET_WM_ICON): the icon at the theme's sizes.
        const QByteArray icon = m_X.Run(
            QStringLiteral("xprop"), {QStringLiteral("-len"), QStringLiteral("1000000"),
                                      QStringLiteral("-id"), id, QStringLiteral("_NET_WM_ICON")});
        EXPECT_TRUE(icon.contains("Icon (16 x 16)") && icon.contains("Icon (256 x 256)"));
        const QPoint window = m_X.WindowPosition(id);
        QImage shot;
        const bool connected = WaitForConnected(window, shot);
        const qint64 elapsed = clock.elapsed();
        SaveArtefact(shot, artefact);
        EXPECT_TRUE(connected) << "no \"Connected\" within " << CONNECT_LIMIT_MS << " ms";

        EXPECT_TRUE(m_X.ClickAt(window + E2E_CLOSE_BUTTON));
        EXPECT_TRUE(program.waitForFinished(EXIT_LIMIT_MS)) << "the close button did not end it";
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        return connected ? elapsed : -1;
    }

    TXvfb m_X;
    QTemporaryDir m_Temp;
    std::unique_ptr<hx9test::TVirtualBoardProcess> m_pBoard;
    std::vector<std::unique_ptr<QProcess>> m_Programs;
};

} // namespace

TEST_F(ControlPanelE2eTest, ConnectsToAProgrammedBoardByItself)
{
    StartBoard(true);
    const qint64 ms = RunToConnected(QStringLiteral("connected-programmed.png"));
    std::cout << "start to \"Connected\", programmed board: " << ms << " ms" << std::endl;
}

TEST_F(ControlPanelE2eTest, ConfiguresABlankBoardThroughItsVirtualProgrammerAndConnects)
{
    StartBoard(false);
    const qint64 ms = RunToConnected(QStringLiteral("connected-blank.png"), true);
    std::cout << "start to \"Connected\", blank board: " << ms << " ms" << std::endl;
    EXPECT_NE(m_pBoard->Control("status").find("programmed=1"), std::string::npos);
}

TEST_F(ControlPanelE2eTest, SecondInstanceSaysSoAndEnds)
{
    StartBoard(true);
    QProcess& first = StartProgram();
    ASSERT_FALSE(WaitForWindow(E2E_MAIN_CAPTION).isEmpty());

    QProcess& second = StartProgram();
    const QString box = WaitForWindow(QStringLiteral("Information"));
    ASSERT_FALSE(box.isEmpty()) << "no information box";
    const QPoint at = m_X.WindowPosition(box);
    SaveArtefact(m_X.Screenshot(), QStringLiteral("second-instance.png"));
    EXPECT_TRUE(m_X.KeyAt(at + QPoint(20, 20), QStringLiteral("Return")));
    ASSERT_TRUE(second.waitForFinished(EXIT_LIMIT_MS)) << "the box did not end the second copy";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running) << "the first copy goes on";
}
