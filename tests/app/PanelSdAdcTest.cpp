// The SD card and ADC panels in the main window against the virtual board, with real pointer
// events.
#include "tests/app/MainWindowFixture.h"

#include "panels/UnitADC.h"
#include "panels/UnitSDCARD.h"

namespace
{

const QPoint READ_CENTRE(288 + 32, 226 + 8);
constexpr int POLL_WAIT_MS = 3000;

class SdAdcPanelTest : public MainWindowTest
{
protected:
    // Connected, on the tab, the panel's failures counted on their way to the window.
    template <class TPanel> TPanel* OpenTab(int tab)
    {
        LinkEverything();
        OpenWindow();
        AutoConnect();
        Click(TabCentre(tab));
        auto* panel = dynamic_cast<TPanel*>(m_pForm->Panel(tab));
        TFormPanel::TNotifyEvent bound = panel ? panel->OnLinkFailure : nullptr;
        if (panel)
        {
            panel->OnLinkFailure = [this, bound](TFormPanel* sender)
            {
                ++m_Failures;
                bound(sender);
            };
        }
        return panel;
    }

    void ClickRead(QWidget* panel)
    {
        QTest::mouseMove(panel, READ_CENTRE);
        QTest::mouseClick(panel, Qt::LeftButton, {}, READ_CENTRE);
    }

    // Told once; the window is in its disconnected-by-a-panel state.
    void ExpectDisconnectedByPanel()
    {
        EXPECT_EQ(m_Failures, 1);
        EXPECT_FALSE(m_pForm->Board().IsConnected());
        EXPECT_EQ(m_pForm->LabelConnectStatus->text(), "Disconnected");
        EXPECT_TRUE(TabsEnabled(false));
    }

    QString Info() const { return m_pForm->LabelInfo->text(); }

    int m_Failures = 0;
};

} // namespace

TEST_F(SdAdcPanelTest, AdcShowsTheChannelsInVoltsFromHalfASecondAfterAttach)
{
    const std::pair<int, const char*> channels[] = {
        {0, "CH0: 0.000 V"},    {1, "CH1: 0.001 V"},     {999, "CH2: 0.999 V"},
        {1000, "CH3: 1.000 V"}, {1234, "CH4: 1.234 V"},  {3300, "CH5: 3.300 V"},
        {4095, "CH6: 4.095 V"}, {65535, "CH7: 65.535 V"}};
    StartBoard(true);
    QString expected;
    for (int ch = 0; ch < 8; ++ch)
    {
        ASSERT_TRUE(m_pBoard->Command("adc raw " + std::to_string(ch) + " " +
                                      std::to_string(channels[ch].first)));
        expected += QString::fromLatin1(channels[ch].second) + "\r\n";
    }
    TFormADC* adc = OpenTab<TFormADC>(TAB_ADC);
    ASSERT_NE(adc, nullptr);
    EXPECT_EQ(adc->LabelAdc->text(), "Eight Channel ADC Status");
    EXPECT_TRUE(adc->LabelAdcStatus->text().isEmpty()) << "nothing is read at attach";
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return adc->LabelAdcStatus->text() == expected; }, POLL_WAIT_MS))
        << adc->LabelAdcStatus->text().toStdString();

    // Attached again to the board the button disconnected: no reads, the values stay.
    Click(CONNECT_CENTRE);
    Click(TabCentre(TAB_LED));
    Click(TabCentre(TAB_ADC));
    EXPECT_EQ(adc->Board(), &m_pForm->Board());
    EXPECT_FALSE(adc->IsPolling());
    EXPECT_EQ(adc->LabelAdcStatus->text(), expected);
}

TEST_F(SdAdcPanelTest, AdcFailedReadEmptiesTheTextAndStopsPolling)
{
    StartBoard(true);
    TFormADC* adc = OpenTab<TFormADC>(TAB_ADC);
    ASSERT_NE(adc, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return adc->IsValid(); }, POLL_WAIT_MS));

    ASSERT_TRUE(m_pBoard->InjectFault("checksum"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_pForm->Board().IsConnected(); }, POLL_WAIT_MS));
    EXPECT_TRUE(adc->LabelAdcStatus->text().isEmpty());
    EXPECT_FALSE(adc->IsPolling());
    ExpectDisconnectedByPanel();
}

TEST_F(SdAdcPanelTest, SdCardReadShowsEachCardAndOnlyWarnsWithoutOne)
{
    const std::array<const char*, 4> cards[] = {
        {"sd card sdhc", "FAT32", "-Product Name:VSD08\n", "-Memory Capacity:7579MB\n"},
        {"sd card sdsc", "FAT16", "-Product Name:VSD02\n", "-CSD Version 1.0\n"},
        {"sd fs 0", "NA", "-Product Name:VSD02\n", "-CSD Version 1.0\n"}};
    StartBoard(true);
    TFormSDCARD* sd = OpenTab<TFormSDCARD>(TAB_SDCARD);
    ASSERT_NE(sd, nullptr);
    for (const auto& [setup, fileSystem, cidLine, csdLine] : cards)
    {
        ASSERT_TRUE(m_pBoard->Command(setup));
        ClickRead(sd);
        EXPECT_EQ(sd->LabelSDCARD_FAT->text(), fileSystem);
        EXPECT_TRUE(sd->LabelSDCARD_CID->text().contains(cidLine)) << setup;
        EXPECT_TRUE(sd->LabelSDCARD_CSD->text().contains(csdLine)) << setup;
        EXPECT_EQ(Info(), "Read SDCARD read successfully");
        EXPECT_EQ(TextColour(m_pForm->LabelInfo), QColor(INFO_GREEN));
    }

    ASSERT_TRUE(m_pBoard->Command("sd present 0"));
    ClickRead(sd);
    EXPECT_EQ(sd->LabelSDCARD_CID->text() + sd->LabelSDCARD_CSD->text() +
                  sd->LabelSDCARD_FAT->text(),
              "");
    EXPECT_EQ(Info(), "Failed to access SDCARD.");
    const TRecordingHost::TMessage warning{
        THost::mkWarning, "Failed to access the SDCARD.\nPlease make sure a SDCARD is pluged "
                          "into the Velmora Starter Board."};
    EXPECT_EQ(m_pHost->Messages, std::vector<TRecordingHost::TMessage>{warning});
    EXPECT_TRUE(m_pForm->Board().IsConnected());
    EXPECT_EQ(m_Failures, 0);

    // Disconnected by the button: Read no longer responds.
    Click(CONNECT_CENTRE);
    ClickRead(sd);
    EXPECT_EQ(m_pHost->Messages.size(), 1u);
}

TEST_F(SdAdcPanelTest, SdCardFailedExchangeEmptiesTheReportsThenTellsTheWindow)
{
    StartBoard(true);
    TFormSDCARD* sd = OpenTab<TFormSDCARD>(TAB_SDCARD);
    ASSERT_NE(sd, nullptr);
    ClickRead(sd);
    ASSERT_EQ(sd->LabelSDCARD_FAT->text(), "FAT32");

    ASSERT_TRUE(m_pBoard->InjectFault("checksum"));
    ClickRead(sd);
    EXPECT_EQ(sd->LabelSDCARD_CID->text() + sd->LabelSDCARD_CSD->text() +
                  sd->LabelSDCARD_FAT->text(),
              "");
    const TRecordingHost::TMessage error{THost::mkError, "Failed to access SDCARD."};
    EXPECT_EQ(m_pHost->Messages, std::vector<TRecordingHost::TMessage>{error});
    ExpectDisconnectedByPanel();
    EXPECT_EQ(Info(), "") << "the window's disconnect comes after the panel's text";
    EXPECT_TRUE(sd->ButtonSDCARD->isEnabled()) << "the disconnect leaves the panel attached";
}
