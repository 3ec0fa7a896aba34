// How the UART-USB panel's receive box keeps up as it fills. Each poll is the panel's own:
// one UartRead from a virtual board holding queued text, the append, and the repaint. Prints
//  - the CPU one poll costs against the text the box already holds, for text in lines of 64
//    characters and for one line that never ends;
//  - a simulated long run at the link's full 1,280 B/s (a 128-byte chunk every 100 ms poll),
//    its polls back to back: per simulated minute the CPU of one poll, the share of a core that
//    is at ten polls a second, and the resident memory.
// For figures, build it in a Release build with tests:
//   cmake --build build-bench --target hx9-bench-rs232-receive
//   QT_QPA_PLATFORM=offscreen build-bench/bin/hx9-bench-rs232-receive

#include "tests/app/PanelFixture.h"

#include "panels/ReceiveBox.h"
#include "panels/UnitRS232.h"

#include <cstdio>
#include <ctime>
#include <iostream>

namespace
{

constexpr int CHUNK = 128;   // what one poll fetches at most
constexpr int LINE = 64;     // characters of a line, its line feed included
constexpr int POLL_MS = 100; // a poll every 100 ms
constexpr int WARM_UP_POLLS = 20;
constexpr int MEASURED_POLLS = 100;
constexpr int POLLS_PER_MINUTE = 60'000 / POLL_MS;
constexpr int MINUTES = 10;
const qsizetype HELD[] = {0, 100'000, 200'000, 400'000, 800'000};

// The panel, its polls at the bench's call instead of its timer's.
class TBenchRS232 : public TFormRS232
{
public:
    using TFormRS232::TFormRS232;
    void StopTimer() { StopPolling(); }
    bool Poll() { return PollBoard(); }
};

double CpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

long ResidentKb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Received text: lines ending in a line feed, or one line without end.
QByteArray Text(qsizetype size, bool lines)
{
    QByteArray text(size, 'x');
    for (qsizetype at = LINE - 1; lines && at < size; at += LINE)
        text[at] = '\n';
    return text;
}

} // namespace

class Rs232ReceiveBench : public PanelTest<TBenchRS232>
{
protected:
    void Attach()
    {
        PanelTest::Attach();
        m_pPanel->StopTimer();
    }

    // Queues polls chunks of text on the board, to be fetched one chunk a poll.
    void Queue(int polls, bool lines)
    {
        const QByteArray hex = Text(qsizetype{polls} * CHUNK, lines).toHex();
        ASSERT_TRUE(m_pBoard->Command("uart receive " + hex.toStdString()));
    }

    // Runs polls, each drawn at once; the CPU milliseconds of one.
    double PollCost(int polls)
    {
        const double start = CpuMs();
        for (int i = 0; i < polls; ++i)
        {
            EXPECT_TRUE(m_pPanel->Poll());
            QCoreApplication::processEvents();
        }
        return (CpuMs() - start) / polls;
    }
};

TEST_F(Rs232ReceiveBench, AppendCostAgainstTheTextHeld)
{
    Attach();
    for (const bool lines : {true, false})
    {
        for (const qsizetype held : HELD)
        {
            m_pPanel->EditRx->SetText(QString::fromLatin1(Text(held, lines)));
            // The first polls also lay out and draw the text just set: not measured.
            Queue(WARM_UP_POLLS + MEASURED_POLLS, lines);
            PollCost(WARM_UP_POLLS);
            const double ms = PollCost(MEASURED_POLLS);
            EXPECT_EQ(m_pPanel->EditRx->Text().size(),
                      held + (WARM_UP_POLLS + MEASURED_POLLS) * CHUNK);
            std::cout << (lines ? "lines:    " : "one line: ") << held / 1000
                      << " KB held, one poll " << ms << " ms CPU" << std::endl;
        }
    }
}

TEST_F(Rs232ReceiveBench, TenMinutesAtTheFullRate)
{
    Attach();
    for (const bool lines : {true, false})
    {
        m_pPanel->EditRx->Clear();
        QCoreApplication::processEvents();
        const long startKb = ResidentKb();
        for (int minute = 1; minute <= MINUTES; ++minute)
        {
            Queue(POLLS_PER_MINUTE, lines);
            const double ms = PollCost(POLLS_PER_MINUTE);
            std::cout << (lines ? "lines    " : "one line ") << "minute " << minute << ": "
                      << m_pPanel->EditRx->Text().size() / 1000 << " KB held, one poll " << ms
                      << " ms CPU = " << 100.0 * ms / POLL_MS << " % of a core, resident "
                      << ResidentKb() / 1024.0 << " MB (+" << (ResidentKb() - startKb) / 1024.0
                      << ")" << std::endl;
        }
        EXPECT_EQ(m_pPanel->EditRx->Text().size(), qsizetype{MINUTES} * POLLS_PER_MINUTE * CHUNK);
    }
}
