// The keys and switches panel against a virtual board: the one-shot poll and what it draws.

#include "PanelFixture.h"

#include "panels/UnitButton.h"

namespace
{

QRect KeyRect(int i)
{
    return QRect(223 - 48 * i, 50, 44, 44);
}
QRect SwitchRect(int j)
{
    return QRect(332 - 32 * j, 190, 19, 63);
}
constexpr int WAIT_MS = 3000;

using ButtonPanelTest = PanelTest<TFormButton>;

} // namespace

TEST_F(ButtonPanelTest, PolledStateIsDrawnKeyForKeyAndSwitchForSwitch)
{
    TFormButton& panel = *m_pPanel;
    const QImage allUp = Picture();
    Attach();
    EXPECT_TRUE(panel.IsPolling());
    EXPECT_EQ(m_Info, (std::vector<TInfoLine>{{"", TInfoColour::Green},
                                              {TEXT_MONITOR_INPUTS, TInfoColour::Yellow}}));
    // The board fills the words' other bits with other signals; only KEY0 and SW9 count.
    struct
    {
        uint32_t Keys;
        uint32_t Switches;
        uint32_t State;
    } cases[] = {{0x1, 0x200, 0x2001}, {0xA, 0x001, 0x001A}, {0x0, 0x000, 0x0}};
    for (const auto& c : cases)
    {
        ASSERT_TRUE(m_pBoard->SetKeys(c.Keys));
        ASSERT_TRUE(m_pBoard->SetSwitches(c.Switches));
        ASSERT_TRUE(QTest::qWaitFor([&] { return panel.InputState() == c.State; }, WAIT_MS))
            << std::hex << c.State;
        const QImage shown = Picture();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(shown.copy(KeyRect(i)) != allUp.copy(KeyRect(i)), (c.Keys >> i & 1) != 0)
                << "KEY" << i << " of " << std::hex << c.State;
        for (int j = 0; j < 10; ++j)
            EXPECT_EQ(shown.copy(SwitchRect(j)) != allUp.copy(SwitchRect(j)),
                      (c.Switches >> j & 1) != 0)
                << "SW" << j << " of " << std::hex << c.State;
    }
    EXPECT_EQ(m_LinkFailures, 0);
}

TEST_F(ButtonPanelTest, UnchangedStateIsNotDrawnAgain)
{
    Attach();
    TPaintCounter counter(m_pPanel.get());
    const long before = Requests();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Requests() - before >= 3; }, WAIT_MS));
    EXPECT_EQ(counter.Paints, 0);
    ASSERT_TRUE(m_pBoard->SetKeys(0x4));
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.Paints > 0; }, WAIT_MS));
}

TEST_F(ButtonPanelTest, OneFailedPollStopsThePollsAndTellsTheOwnerOnce)
{
    TFormButton& panel = *m_pPanel;
    Attach();
    ASSERT_TRUE(m_pBoard->SetKeys(0x2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.InputState() == 0x2; }, WAIT_MS));
    ASSERT_TRUE(m_pBoard->InjectFault("checksum 5"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_LinkFailures > 0; }, WAIT_MS));
    EXPECT_FALSE(panel.IsPolling());
    const long after = Requests();
    ASSERT_TRUE(m_pBoard->SetKeys(0x8));
    QTest::qWait(5 * BUTTON_POLL_MS);
    EXPECT_EQ(Requests(), after) << "no poll after the failed one";
    EXPECT_EQ(m_LinkFailures, 1);
    EXPECT_EQ(panel.InputState(), 0x2u) << "the last good state stays";

    // Attached again it monitors again.
    ASSERT_TRUE(m_pBoard->ClearFaults());
    Attach();
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.InputState() == 0x8; }, WAIT_MS));
}

TEST_F(ButtonPanelTest, ALinkClosedUnderThePanelFailsThePollAndAttachingThenStartsNone)
{
    TFormButton& panel = *m_pPanel;
    Attach();
    m_pLinkBoard->Disconnect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_LinkFailures > 0; }, WAIT_MS));
    EXPECT_FALSE(panel.IsPolling());
    panel.DetachBoard();
    EXPECT_EQ(m_Info.back(), (TInfoLine{"", TInfoColour::Yellow}));

    m_Info.clear();
    Attach();
    EXPECT_FALSE(panel.IsPolling());
    EXPECT_EQ(m_Info, (std::vector<TInfoLine>{{"", TInfoColour::Green}}));
    QTest::qWait(2 * BUTTON_POLL_MS);
    EXPECT_EQ(m_LinkFailures, 1);
}
