// The real program under Xvfb against the virtual board: the memory panel's random write and
// read, and a save through the real file dialog with its progress dialog. Keeps a screenshot
// of the panel and prints the save's speed and the program's peak resident memory.
// HX9_E2E_MEMORY_FIGURES=1 also saves the whole LPDDR2 to a binary file and loads it back.

#include "tests/e2e/Xvfb.h"
#include "tests/support/VirtualBoardProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

const QString MAIN_CAPTION = QStringLiteral("Kelvaro - HX9 Control Panel V1.0.2");
const QRect STATUS_RECT(30, 540, 92, 22);
const QPoint CLOSE_BUTTON(559 + 18, 19 + 6);
const QPoint MEMORY_TAB(8 + 46, 424 + 19);
const QPoint PANEL_AT(204, 288);
const QRect PANEL_RECT(PANEL_AT, QSize(387, 276));
constexpr int LIMIT_MS = 60000;
constexpr int STEP_LIMIT_MS = 10000;
constexpr int FIGURES_LIMIT_MS = 600000;
constexpr int POLL_MS = 50;
constexpr int DIALOG_SETTLE_MS = 500;
constexpr int INK_PIXELS = 8;
constexpr qint64 SRAM_BYTES = 0x80000;
constexpr qint64 LPDDR2_BYTES = 0x20000000;
constexpr double MB = 1024.0 * 1024.0;

// Panel points, client pixels of the panel.
const QPoint WDATA_FIELD(189 + 32, 66 + 9);
const QPoint RDM_WRITE(189 + 32, 89 + 8);
const QPoint RDM_READ(306 + 32, 89 + 8);
const QPoint WRITE_FILE_LENGTH(205 + 20, 140 + 9);
const QPoint WRITE_FILE(187 + 94, 162 + 8);
const QPoint READ_LEN_FIELD(62 + 55, 236 + 9);
const QPoint ENTIRE_MEMORY(205 + 20, 214 + 9);
const QPoint READ_FILE(187 + 94, 236 + 8);

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

// Peak resident memory of a process in MB, from /proc; negative when unreadable.
double PeakResidentMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
    {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

class MemoryPanelE2eTest : public ::testing::Test
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
        env.insert(QStringLiteral("QUARTUS_ROOTDIR"), QString::fromStdString(hx9test::QuartusRoot()));
        // No leak check under a real X server; no quarantine, so that the resident memory
        // measured is the program's own.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   QStringLiteral("detect_leaks=0:quarantine_size_mb=0"));
        m_Program.setProcessEnvironment(env);
        m_Program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_Program.setStandardOutputFile(QProcess::nullDevice());
        m_Program.start(QString::fromStdString(hx9test::ProgramDir() + "/hx9-control-panel"), {});
        ASSERT_TRUE(m_Program.waitForStarted(LIMIT_MS));
    }

    template <class TDone>
    bool WaitFor(TDone done, int limitMs = STEP_LIMIT_MS)
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

    QImage WaitForPanelChange(const QImage& before)
    {
        QImage now;
        EXPECT_TRUE(WaitFor([&] { return (now = PanelShot()) != before; }))
            << "the panel did not change";
        return now;
    }

    void ClickPanel(QPoint at) { EXPECT_TRUE(m_X.ClickAt(m_Window + PANEL_AT + at)); }

    // Replaces a field's text as a user does: click, select all, type.
    void TypeInto(QPoint field, const QString& text)
    {
        ClickPanel(field);
        const QPoint at = m_Window + PANEL_AT + field;
        EXPECT_TRUE(m_X.KeyAt(at, QStringLiteral("ctrl+a")));
        for (const QChar ch : text)
            EXPECT_TRUE(m_X.KeyAt(at, QString(ch)));
    }

    // Answers the program's file dialog with path; false when none appeared.
    bool AnswerFileDialog(const QString& title, const QString& path)
    {
        QString id;
        if (!WaitFor([&] { return !(id = m_X.FindWindow(title)).isEmpty(); }))
            return false;
        // A dialog just mapped may not have its file name field focused yet.
        QThread::msleep(DIALOG_SETTLE_MS);
        // Without a window manager the keys go to the window under the pointer.
        const QPoint inside = m_X.WindowPosition(id) + QPoint(40, 40);
        bool ok = false;
        m_X.Run(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QString::number(inside.x()),
                 QString::number(inside.y()), QStringLiteral("type"), path},
                &ok);
        return ok && m_X.KeyAt(inside, QStringLiteral("Return"));
    }

    QByteArray BoardBytes(const char* type, qint64 address, qint64 count)
    {
        std::string hex;
        EXPECT_TRUE(m_pBoard->Command("mem read " + std::string(type) + " " +
                                          std::to_string(address) + " " + std::to_string(count),
                                      &hex));
        return QByteArray::fromHex(QByteArray::fromStdString(hex));
    }

    // Saves through the panel and the real dialogs; seconds from the dialog's answer to the
    // whole file.
    double TimedSave(const QString& path, qint64 size, int limitMs)
    {
        ClickPanel(READ_FILE);
        EXPECT_TRUE(AnswerFileDialog(QStringLiteral("Save As"), path)) << "no save dialog";
        QElapsedTimer clock;
        clock.start();
        const bool saved = WaitFor([&] { return QFileInfo(path).size() == size; }, limitMs);
        EXPECT_TRUE(saved) << path.toStdString();
        if (!saved)
            Keep(m_X.Screenshot(), QStringLiteral("panel-memory-save-failed.png"));
        return static_cast<double>(clock.elapsed()) / 1000.0;
    }

    void Keep(const QImage& shot, const QString& name)
    {
        const QString path = QDir(QStringLiteral(HX9_E2E_ARTIFACTS)).filePath(name);
        EXPECT_TRUE(shot.save(path)) << path.toStdString();
        std::cout << "screenshot: " << path.toStdString() << std::endl;
    }

    void PrintFigure(const char* what, qint64 bytes, double seconds)
    {
        std::cout << what << ": " << bytes / MB / seconds << " MB/s (" << seconds
                  << " s); program peak resident "
                  << PeakResidentMb(m_Program.processId()) << " MB" << std::endl;
    }

    TXvfb m_X;
    QTemporaryDir m_Temp;
    QTemporaryDir m_Files;
    std::unique_ptr<hx9test::TVirtualBoardProcess> m_pBoard;
    QProcess m_Program;
    QPoint m_Window;
};

} // namespace

TEST_F(MemoryPanelE2eTest, WordsAndASaveThroughTheRealDialogs)
{
    StartProgram();
    QString id;
    ASSERT_TRUE(WaitFor([&] { return !(id = m_X.FindWindow(MAIN_CAPTION)).isEmpty(); }, LIMIT_MS));
    m_Window = m_X.WindowPosition(id);
    ASSERT_TRUE(WaitFor([&]
                        { return CountPixels(m_X.Screenshot(), STATUS_RECT.translated(m_Window),
                                             IsStatusGreen) >= INK_PIXELS; },
                        LIMIT_MS))
        << "no \"Connected\"";

    QImage shown = PanelShot();
    EXPECT_TRUE(m_X.ClickAt(m_Window + MEMORY_TAB));
    shown = WaitForPanelChange(shown);

    // LPDDR2 word 0 <- 1234, then read back what the board holds there.
    TypeInto(WDATA_FIELD, QStringLiteral("1234"));
    ClickPanel(RDM_WRITE);
    EXPECT_TRUE(WaitFor([&] { return BoardBytes("lpddr2", 0, 2) == QByteArray::fromHex("3412"); }));
    ASSERT_TRUE(m_pBoard->Command("mem write lpddr2 0 cdab"));
    shown = PanelShot();
    ClickPanel(RDM_READ);
    shown = WaitForPanelChange(shown);

    // 40000h words (the SRAM's size) of the LPDDR2 to a HEX file.
    TypeInto(READ_LEN_FIELD, QStringLiteral("40000"));
    const QString hex = m_Files.filePath(QStringLiteral("lpddr2.hex"));
    const double seconds = TimedSave(hex, 2 * SRAM_BYTES, LIMIT_MS);
    QFile file(hex);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(4), "CDAB");
    PrintFigure("512 KB of memory to a HEX file", SRAM_BYTES, seconds);

    // The whole LPDDR2 to a binary file and back, for the figures only.
    if (qEnvironmentVariableIntValue("HX9_E2E_MEMORY_FIGURES") == 1)
    {
        ClickPanel(ENTIRE_MEMORY);
        const QString bin = m_Files.filePath(QStringLiteral("lpddr2.bin"));
        const double save = TimedSave(bin, LPDDR2_BYTES, FIGURES_LIMIT_MS);
        PrintFigure("whole LPDDR2 to a binary file", LPDDR2_BYTES, save);

        ClickPanel(WRITE_FILE_LENGTH);
        const long requests = std::stol(
            m_pBoard->Control("status").substr(m_pBoard->Control("status").find("requests=") + 9));
        ClickPanel(WRITE_FILE);
        EXPECT_TRUE(AnswerFileDialog(QStringLiteral("Open"), bin)) << "no open dialog";
        QElapsedTimer clock;
        clock.start();
        // 1 + 2 x 16398 chunks of at most 32743 bytes.
        EXPECT_TRUE(WaitFor(
            [&]
            {
                const std::string status = m_pBoard->Control("status");
                return std::stol(status.substr(status.find("requests=") + 9)) - requests >=
                       1 + 2 * ((LPDDR2_BYTES + 32742) / 32743);
            },
            FIGURES_LIMIT_MS));
        PrintFigure("whole LPDDR2 from a binary file",
                    LPDDR2_BYTES, static_cast<double>(clock.elapsed()) / 1000.0);
    }

    shown = PanelShot();
    EXPECT_GT(CountPixels(shown, QRect(0, 0, 387, 276),
                          [](const QColor& c) { return c.red() > 200 && c.green() > 200; }),
              INK_PIXELS);
    Keep(shown, QStringLiteral("panel-memory.png"));

    EXPECT_TRUE(m_X.ClickAt(m_Window + CLOSE_BUTTON));
    EXPECT_TRUE(m_Program.waitForFinished(LIMIT_MS)) << "the close button did not end it";
    EXPECT_EQ(m_Program.exitCode(), 0);
}
