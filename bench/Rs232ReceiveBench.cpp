// How the UART-USB panel's receive poll keeps up as its receive box fills: for each size the
// box is filled, the board queues text for every poll, and the poll period is measured.
// Prints figures; not part of the test suite.

#include "tests/app/PanelFixture.h"

#include "panels/UnitRS232.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <iostream>

namespace
{

constexpr int MEASURE_MS = 2000;
constexpr int CHUNK = 128;
constexpr int QUEUED_POLLS = 40; // more than a measurement takes at 100 ms each
const int SIZES[] = {0, 10'000, 20'000, 50'000, 100'000, 1'000'000};

using Rs232ReceiveBench = PanelTest<TFormRS232>;

} // namespace

TEST_F(Rs232ReceiveBench, PollPeriodAsTheReceiveBoxFills)
{
    TFormRS232& rs232 = *m_pPanel;
    Attach();
    ASSERT_TRUE(rs232.IsPolling());
    for (const int size : SIZES)
    {
        rs232.EditRx->setText(QString(size, QLatin1Char('x')));
        ASSERT_TRUE(
            m_pBoard->Command("uart receive-text " + std::string(CHUNK * QUEUED_POLLS, 'y')));
        QTest::qWait(200); // one poll to settle
        const qsizetype before = rs232.EditRx->text().size();
        const long requests = Requests();
        QElapsedTimer clock;
        clock.start();
        QTest::qWait(MEASURE_MS);
        const double ms = static_cast<double>(clock.elapsed());
        const long polls = Requests() - requests;
        const qsizetype grown = rs232.EditRx->text().size() - before;
        EXPECT_GT(polls, 0);
        EXPECT_EQ(grown, polls * CHUNK) << "every poll appended a full chunk";
        std::cout << "receive box of " << size << " characters: " << polls << " polls in " << ms
                  << " ms, one every " << (polls > 0 ? ms / static_cast<double>(polls) : 0.0)
                  << " ms" << std::endl;
        ASSERT_TRUE(m_pBoard->Command("uart clear"));
    }
}
