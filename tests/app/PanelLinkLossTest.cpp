// A link fault at the virtual board while a panel talks to it: the panel tells the main
// window once, the window ends disconnected, and no picture changes until the next connect.

#include "MainWindowFixture.h"

namespace
{

const QPoint PANEL_AT(204, 288);
const QPoint GLED0(332 + 11, 60 + 18);
const QPoint HEX0_UP(300 + 10, 170 + 8);
const QPoint GLED2(332 - 2 * 33 + 11, 60 + 18);
const QPoint UNLIGHT_ALL(218 + 32, 243 + 8);
const QPoint NO_CLICK(-1, -1); // the panel fails by itself, polling
constexpr int WAIT_MS = 3000;

} // namespace

TEST_F(MainWindowTest, APanelsLinkFailureEndsInDisconnected)
{
    struct
    {
        int Tab;
        QPoint Click; // its request is carried out, its reply corrupted
        QPoint WhileLost;
        QPoint Next; // after the next connect
        const char* Query;
        const char* AfterFailure;
        const char* AfterNext;
    } cases[] = {
        {TAB_LED, GLED0, UNLIGHT_ALL, GLED2, "leds", "0x3fffe", "0x3fffa"},
        {TAB_SEG7, HEX0_UP, HEX0_UP, HEX0_UP, "seg7", "digits=8889", "digits=888a"},
        {TAB_BUTTON, NO_CLICK, NO_CLICK, NO_CLICK, "keys", "", ""},
    };
    StartBoard(true);
    LinkEverything();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.Query);
        OpenWindow();
        AutoConnect();
        TFormMain& form = *m_pForm;
        ASSERT_TRUE(form.Board().IsConnected());
        Click(TabCentre(c.Tab));
        TFormPanel* panel = form.Panel(c.Tab);
        ASSERT_EQ(panel->Board(), &form.Board());
        int told = 0;
        const TFormPanel::TNotifyEvent bound = panel->OnLinkFailure;
        panel->OnLinkFailure = [&](TFormPanel* sender)
        {
            ++told;
            bound(sender);
        };
        ASSERT_TRUE(m_pBoard->InjectFault("checksum 3"));
        if (c.Click != NO_CLICK)
            Click(PANEL_AT + c.Click);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return form.LabelConnectStatus->text() == "Disconnected"; }, WAIT_MS));
        EXPECT_TRUE(m_pBoard->Control(c.Query).find(c.AfterFailure) != std::string::npos);
        // No picture changes until the next connect: the screen shows what the board holds.
        const QImage shown = panel->grab().toImage();
        if (c.WhileLost != NO_CLICK)
            Click(PANEL_AT + c.WhileLost);
        QTest::qWait(300);
        EXPECT_EQ(told, 1);
        EXPECT_TRUE(panel->grab().toImage() == shown) << "changed while the link was lost";
        EXPECT_EQ(TextColour(form.LabelConnectStatus), QColor(INFO_RED));
        EXPECT_FALSE(form.Board().IsConnected());
        ASSERT_TRUE(m_pBoard->ClearFaults());

        if (c.Next != NO_CLICK)
        {
            Click(CONNECT_CENTRE);
            Click(TabCentre(c.Tab));
            EXPECT_TRUE(panel->grab().toImage() == shown) << "changed by the connect";
            Click(PANEL_AT + c.Next);
            EXPECT_TRUE(m_pBoard->Control(c.Query).find(c.AfterNext) != std::string::npos)
                << m_pBoard->Control(c.Query);
        }
        m_pForm.reset();
    }
}
