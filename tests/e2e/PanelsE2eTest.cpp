// The LED, 7-SEG, Switches, SD Card and ADC tabs clicked through against the virtual board,
// the board changed from its control interface, one screenshot per panel kept. Prints the
// two polling panels' poll periods and the program's CPU share.

#include "tests/e2e/PanelE2eFixture.h"

namespace
{

constexpr int TAB_SEG7 = 1;
constexpr int TAB_BUTTON = 2;
constexpr int TAB_SDCARD = 4;
constexpr int TAB_ADC = 5;

// Panel points, client pixels of the panel.
const QPoint UNLIGHT_ALL(218 + 32, 243 + 8);
const QPoint RLED0(332 + 11, 145 + 18);
const QPoint HEX0_UP(300 + 10, 170 + 8);
const QPoint SD_READ(288 + 32, 226 + 8);

} // namespace

TEST_F(PanelE2eTest, LedSeg7SwitchesSdCardAndAdcPanelsFollowTheBoard)
{
    ASSERT_TRUE(StartConnected()) << "no \"Connected\"";

    // LED, current after the connect: Unlight All, then RLED0 alone.
    QImage shown = PanelShot();
    ClickPanel(UNLIGHT_ALL);
    EXPECT_TRUE(WaitFor([&] { return m_pBoard->Leds() == 0u; }));
    ClickPanel(RLED0);
    EXPECT_TRUE(WaitFor([&] { return m_pBoard->Leds() == 0x100u; }));
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-led.png"));

    shown = ShowTab(TAB_SEG7, shown);
    ClickPanel(HEX0_UP);
    EXPECT_TRUE(WaitFor(
        [&] { return m_pBoard->Control("seg7").find("digits=8889") != std::string::npos; }));
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-seg7.png"));

    // The keys and switches change at the board; the panel follows by itself.
    ShowTab(TAB_BUTTON, shown);
    MeasurePolling("keys and switches");
    shown = PanelShot();
    ASSERT_TRUE(m_pBoard->SetKeys(0x5));
    ASSERT_TRUE(m_pBoard->SetSwitches(0x2A5));
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-switches.png"));

    shown = ShowTab(TAB_SDCARD, shown);
    ClickPanel(SD_READ);
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-sdcard.png"));

    ShowTab(TAB_ADC, shown);
    MeasurePolling("ADC");
    shown = PanelShot();
    ASSERT_TRUE(m_pBoard->Command("adc 0 1234"));
    ASSERT_TRUE(m_pBoard->Command("adc 7 3300"));
    shown = WaitForPanelChange(shown);
    Keep(shown, QStringLiteral("panel-adc.png"));

    Close();
}
