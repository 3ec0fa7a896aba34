// The LED panel against a virtual board: what each click sends and shows.

#include "PanelFixture.h"

#include "panels/UnitLED.h"

namespace
{

QPoint Green(int i)
{
    return QPoint(332 - 33 * i + 11, 60 + 18);
}
QPoint Red(int j)
{
    return QPoint(332 - 33 * j + 11, 145 + 18);
}
const QPoint LIGHT_ALL(106 + 32, 243 + 8);
const QPoint UNLIGHT_ALL(218 + 32, 243 + 8);
const QPoint NOWHERE(20, 20);

using LedPanelTest = PanelTest<TFormLED>;

} // namespace

TEST_F(LedPanelTest, EveryClickSendsThePatternTheLampsShow)
{
    Attach();
    TFormLED& panel = *m_pPanel;
    EXPECT_EQ(m_Info, (std::vector<TInfoLine>{{"", TInfoColour::Green}}));
    EXPECT_EQ(m_pBoard->Leds(), 0x3FFFFu) << "attaching sends nothing: board and lamps start lit";
    struct
    {
        const char* What;
        QPoint Press;
        QPoint Release;
        uint32_t Pattern; // on the lamps and on the board
        long Sent;
    } steps[] = {
        {"Unlight All", UNLIGHT_ALL, UNLIGHT_ALL, 0, 1},
        {"Unlight All again", UNLIGHT_ALL, UNLIGHT_ALL, 0, 1},
        {"Light All", LIGHT_ALL, LIGHT_ALL, 0x3FFFF, 1},
        {"RLED9", Red(9), Red(9), 0x1FFFF, 1},
        {"GLED0", Green(0), Green(0), 0x1FFFE, 1},
        {"RLED0", Red(0), Red(0), 0x1FEFE, 1},
        {"pressed on GLED1, released on GLED2", Green(1), Green(2), 0x1FEFA, 1},
        {"pressed on GLED3, released elsewhere", Green(3), NOWHERE, 0x1FEFA, 0},
        {"pressed on Light All, released on RLED9", LIGHT_ALL, Red(9), 0x3FEFA, 1},
    };
    for (const auto& step : steps)
    {
        const long before = Requests();
        Drag(step.Press, step.Release);
        EXPECT_EQ(panel.LedMask(), step.Pattern) << step.What;
        EXPECT_EQ(m_pBoard->Leds(), step.Pattern) << step.What;
        EXPECT_EQ(Requests() - before, step.Sent) << step.What;
        // Each lamp shows the picture of its state: bit i lit, the LIGHT strip of its colour.
        for (int32_t id = 0; id < 18; ++id)
        {
            const bool lit = (step.Pattern >> id & 1) != 0;
            EXPECT_EQ(panel.LedButtons().FindButton(id)->BitmapName(),
                      QString(id < 8 ? "LEDG" : "LEDR") + (lit ? "_LIGHT_BTN" : "_UNLIGHT_BTN"))
                << step.What << ", id " << id;
        }
    }
    EXPECT_EQ(m_LinkFailures, 0);
}

TEST_F(LedPanelTest, WithoutAConnectedBoardClicksSendNothing)
{
    TFormLED& panel = *m_pPanel;
    const long before = Requests();
    // Before any attach, then after a detach: the buttons are dead.
    Click(Green(0));
    Click(UNLIGHT_ALL);
    EXPECT_EQ(panel.LedMask(), 0x3FFFFu);
    Attach();
    Click(Green(0));
    panel.DetachBoard();
    Click(Green(1));
    Click(LIGHT_ALL);
    EXPECT_EQ(panel.LedMask(), 0x3FFFEu);
    EXPECT_EQ(Requests() - before, 1);

    // Re-attached: the states from before, nothing sent until the next click.
    Attach();
    EXPECT_EQ(panel.LedMask(), 0x3FFFEu);
    EXPECT_EQ(Requests() - before, 1);

    // Attached but the link closed since: the lamps stay with the board, which hears nothing,
    // and no failure is raised.
    m_pLinkBoard->Disconnect();
    Click(Red(0));
    Click(UNLIGHT_ALL);
    EXPECT_EQ(panel.LedMask(), 0x3FFFEu);
    EXPECT_EQ(Requests() - before, 1);
    EXPECT_EQ(m_LinkFailures, 0);
}

TEST_F(LedPanelTest, AFailedSendTellsTheOwnerOnceAndKeepsThePictures)
{
    Attach();
    ASSERT_TRUE(m_pBoard->InjectFault("checksum 3"));
    Click(UNLIGHT_ALL);
    EXPECT_EQ(m_LinkFailures, 1);
    Click(Green(0));
    EXPECT_EQ(m_LinkFailures, 1) << "the link is lost until the next attach";
    EXPECT_EQ(m_pPanel->LedMask(), 0u) << "not rolled back, and not changed after the loss";
}
