// A link fault at the virtual board while a panel talks to it: the panel tells the main
// window once and the window ends disconnected.

#include "MainWindowFixture.h"

namespace
{

const QPoint PANEL_AT(204, 288);
const QPoint GLED0(332 + 11, 60 + 18);
const QPoint HEX0_UP(300 + 10, 170 + 8);
const QPoint NO_CLICK(-1, -1); // the panel fails by itself, polling
constexpr int WAIT_MS = 3000;

} // namespace

TEST_F(MainWindowTest, APanelsLinkFailureEndsInDisconnected)
{
    struct
    {
        int Tab;
        QPoint Click;
    } cases[] = {{TAB_LED, GLED0}, {TAB_SEG7, HEX0_UP}, {TAB_BUTTON, NO_CLICK}};
    StartBoard(true);
    LinkEverything();
    for (const auto& c : cases)
    {
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
        {
            Click(PANEL_AT + c.Click);
            Click(PANEL_AT + c.Click);
        }
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return form.LabelConnectStatus->text() == "Disconnected"; }, WAIT_MS))
            << "tab " << c.Tab;
        QTest::qWait(300);
        EXPECT_EQ(told, 1) << "tab " << c.Tab;
        EXPECT_EQ(TextColour(form.LabelConnectStatus), QColor(INFO_RED));
        EXPECT_FALSE(form.Board().IsConnected());
        ASSERT_TRUE(m_pBoard->ClearFaults());
        m_pForm.reset();
    }
}
