// The real program under Xvfb against the virtual board: the memory panel's random write and
// read, and a save through the real file dialog with its progress dialog. Keeps a screenshot
// of the panel and prints the save's speed and the program's peak resident memory.
// HX9_E2E_MEMORY_FIGURES=1 also saves the whole LPDDR2 to a binary file and loads it back.

#include "tests/e2e/PanelE2eFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <iostream>

namespace
{

constexpr int MEMORY_TAB = 3;
constexpr int SAVE_LIMIT_MS = 60000;
constexpr int FIGURES_LIMIT_MS = 600000;
constexpr int DIALOG_SETTLE_MS = 500;
constexpr qint64 SRAM_BYTES = 0x80000;
constexpr qint64 LPDDR2_BYTES = 0x20000000;
constexpr qint64 WRITE_CHUNK = 32743;
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

class MemoryPanelE2eTest : public PanelE2eTest
{
protected:
    // Replaces a field's text as a user does: click, select all, type.
    void TypeInto(QPoint field, const QString& text)
    {
        ClickPanel(field);
        const QPoint at = m_Window + E2E_PANEL_AT + field;
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

    void PrintFigure(const char* what, qint64 bytes, double seconds)
    {
        std::cout << what << ": " << bytes / MB / seconds << " MB/s (" << seconds
                  << " s); program peak resident " << PeakResidentMb(m_Program.processId())
                  << " MB" << std::endl;
    }

    // The whole LPDDR2 to a binary file and back, for the figures.
    void WholeLpddr2Figures()
    {
        ClickPanel(ENTIRE_MEMORY);
        const QString bin = m_Files.filePath(QStringLiteral("lpddr2.bin"));
        PrintFigure("whole LPDDR2 to a binary file", LPDDR2_BYTES,
                    TimedSave(bin, LPDDR2_BYTES, FIGURES_LIMIT_MS));

        ClickPanel(WRITE_FILE_LENGTH);
        const long requests = Requests();
        ClickPanel(WRITE_FILE);
        EXPECT_TRUE(AnswerFileDialog(QStringLiteral("Open"), bin)) << "no open dialog";
        QElapsedTimer clock;
        clock.start();
        // One keep-alive, then a keep-alive and a write per chunk.
        const long exchanges = 1 + 2 * ((LPDDR2_BYTES + WRITE_CHUNK - 1) / WRITE_CHUNK);
        EXPECT_TRUE(WaitFor([&] { return Requests() - requests >= exchanges; }, FIGURES_LIMIT_MS));
        PrintFigure("whole LPDDR2 from a binary file", LPDDR2_BYTES,
                    static_cast<double>(clock.elapsed()) / 1000.0);
    }

    QTemporaryDir m_Files;
};

} // namespace

TEST_F(MemoryPanelE2eTest, WordsAndASaveThroughTheRealDialogs)
{
    ASSERT_TRUE(StartConnected()) << "no \"Connected\"";
    QImage shown = ShowTab(MEMORY_TAB, PanelShot());

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
    const double seconds = TimedSave(hex, 2 * SRAM_BYTES, SAVE_LIMIT_MS);
    QFile file(hex);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(4), "CDAB");
    PrintFigure("512 KB of memory to a HEX file", SRAM_BYTES, seconds);

    if (qEnvironmentVariableIntValue("HX9_E2E_MEMORY_FIGURES") == 1)
        WholeLpddr2Figures();

    Keep(PanelShot(), QStringLiteral("panel-memory.png"));
    Close();
}
