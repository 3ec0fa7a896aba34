// The UART-USB, HDMI-TX and HSMC tabs clicked through against the virtual board as a person
// would, one screenshot per panel kept (and one of the HSMC report box). Prints the UART
// panel's receive poll period and the program's CPU share while it polls.

#include "tests/e2e/PanelE2eFixture.h"

namespace
{

constexpr int TAB_RS232 = 6;
constexpr int TAB_VGA = 7;
constexpr int TAB_HSMC = 8;

// Panel points, client pixels of the panel.
const QPoint EDIT_SEND(34 + 160, 176 + 30);
const QPoint SEND(289 + 32, 242 + 8);
const QPoint COMBO_VGA(88 + 60, 50 + 10);
const QPoint PREVIEW_CENTRE(32 + 164, 88 + 84);
const QPoint VERIFY(292 + 32, 234 + 8);
const QColor PREVIEW_GREEN(0, 128, 0);
constexpr int SETTLE_MS = 300; // a list opening, a box drawn, the last texts written

class IoPanelsE2eTest : public PanelE2eTest
{
protected:
    std::string BoardValue(const std::string& line)
    {
        std::string value;
        return m_pBoard->Command(line, &value) ? value : m_pBoard->LastError();
    }
    void KeyPanel(QPoint at, const char* key)
    {
        EXPECT_TRUE(m_X.KeyAt(m_Window + E2E_PANEL_AT + at, QString::fromLatin1(key)));
    }
};

} // namespace

TEST_F(IoPanelsE2eTest, UartHdmiAndHsmcPanelsDriveTheBoard)
{
    ASSERT_TRUE(m_pBoard->Command("hsmc fail 0x400 0 0x11 0x1"));
    ASSERT_TRUE(StartConnected()) << "no \"Connected\"";
    QImage shown = PanelShot();

    // UART-USB: the board's text arrives by itself; a typed line goes out with its zero byte.
    shown = ShowTab(TAB_RS232, shown);
    EXPECT_TRUE(WaitFor([&] { return BoardValue("uart").find("running=1") == 0; }));
    MeasurePolling("UART-USB");
    ASSERT_TRUE(m_pBoard->Command("uart receive-text Hello from the board"));
    ClickPanel(EDIT_SEND);
    m_X.Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("Hello board")});
    ClickPanel(SEND);
    EXPECT_TRUE(WaitFor([&] { return BoardValue("uart sent") == "48656c6c6f20626f61726400"; }))
        << BoardValue("uart sent");
    EXPECT_EQ(BoardValue("uart blocks"), "12");
    QThread::msleep(SETTLE_MS);
    shown = PanelShot();
    Keep(shown, QStringLiteral("panel-uart.png"));

    // HDMI-TX: two steps down the list from "Color Scale" is "Green".
    shown = ShowTab(TAB_VGA, shown);
    EXPECT_EQ(BoardValue("hdmi"), "running=1 pattern=0");
    ClickPanel(COMBO_VGA);
    QThread::msleep(SETTLE_MS);
    for (const char* key : {"Down", "Down", "Return"})
        KeyPanel(COMBO_VGA, key);
    EXPECT_TRUE(WaitFor([&] { return BoardValue("hdmi") == "running=1 pattern=2"; }))
        << BoardValue("hdmi");
    EXPECT_TRUE(WaitFor([&] { return PanelShot().pixelColor(PREVIEW_CENTRE) == PREVIEW_GREEN; }));
    shown = PanelShot();
    Keep(shown, QStringLiteral("panel-hdmi.png"));

    // HSMC: Verify finds failing pins; the report box is kept with the screen behind it.
    shown = ShowTab(TAB_HSMC, shown);
    ClickPanel(VERIFY);
    QString box;
    EXPECT_TRUE(
        WaitFor([&] { return !(box = m_X.FindWindow(QStringLiteral("Information"))).isEmpty(); }))
        << "no report box";
    QThread::msleep(SETTLE_MS);
    Keep(m_X.Screenshot(), QStringLiteral("panel-hsmc-report.png"));
    if (!box.isEmpty())
    {
        EXPECT_TRUE(m_X.KeyAt(m_X.WindowPosition(box) + QPoint(10, 10), QStringLiteral("Return")));
    }
    WaitForPanelChange(shown);
    QThread::msleep(SETTLE_MS);
    Keep(PanelShot(), QStringLiteral("panel-hsmc.png"));

    Close();
}
