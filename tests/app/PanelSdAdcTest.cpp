// The SD card and ADC panels against the virtual board, with real pointer events.
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
    // Connected, on the tab, with the panel's failures counted on their way to the window.
    template <class TPanel> TPanel* OpenTab(int tab)
    {
        LinkEverything();
        OpenWindow();
        AutoConnect();
        Click(TabCentre(tab));
        auto* panel = dynamic_cast<TPanel*>(m_pForm->Panel(tab));
        if (panel)
        {
            TFormPanel::TNotifyEvent bound = panel->OnLinkFailure;
            panel->OnLinkFailure = [this, bound](TFormPanel* sender)
            {
                ++m_Failures;
                bound(sender);
            };
        }
        return panel;
    }

    void ClickPanel(QWidget* panel, QPoint at)
    {
        QTest::mouseMove(panel, at);
        QTest::mouseClick(panel, Qt::LeftButton, {}, at);
    }

    uint64_t Requests()
    {
        const std::string status = BoardStatus();
        const size_t at = status.find("requests=");
        return at == std::string::npos ? 0 : std::stoull(status.substr(at + 9));
    }

    // The panel told the window once; the window is in its disconnected-by-a-panel state.
    void ExpectDisconnectedByPanel(int tab)
    {
        TFormMain& form = *m_pForm;
        EXPECT_EQ(m_Failures, 1);
        EXPECT_FALSE(form.Board().IsConnected());
        EXPECT_EQ(form.LabelConnectStatus->text(), "Disconnected");
        EXPECT_EQ(TextColour(form.LabelConnectStatus), QColor(INFO_RED));
        EXPECT_TRUE(TabsEnabled(false));
        EXPECT_TRUE(form.SysButtons().IsEnabled(ID_CONNECT));
        EXPECT_EQ(form.CurrentTab(), tab);
    }

    QString InfoText() const { return m_pForm->LabelInfo->text(); }
    QColor InfoColour() const { return TextColour(m_pForm->LabelInfo); }

    int m_Failures = 0;
};

} // namespace

TEST_F(SdAdcPanelTest, AdcShowsTheChannelsInVoltsHalfASecondAfterAttachAndStopsWhenDetached)
{
    const std::pair<int, const char*> channels[] = {
        {0, "CH0: 0.000 V"},    {1, "CH1: 0.001 V"},    {999, "CH2: 0.999 V"},
        {1000, "CH3: 1.000 V"}, {1234, "CH4: 1.234 V"}, {3300, "CH5: 3.300 V"},
        {4095, "CH6: 4.095 V"}, {65535, "CH7: 65.535 V"}};
    StartBoard(true);
    QString expected;
    for (int ch = 0; ch < 8; ++ch)
    {
        ASSERT_TRUE(m_pBoard->Command("adc raw " + std::to_string(ch) + " " +
                                      std::to_string(channels[ch].first)));
        expected += QString::fromLatin1(channels[ch].second) + "\r\n";
    }
    const uint64_t before = Requests();
    TFormADC* adc = OpenTab<TFormADC>(TAB_ADC);
    ASSERT_NE(adc, nullptr);
    const uint64_t attached = Requests();
    EXPECT_EQ(adc->LabelAdc->text(), "Eight Channel ADC Status");
    EXPECT_EQ(TextColour(adc->LabelAdc), QColor(0, 255, 48));
    EXPECT_EQ(TextColour(adc->LabelAdcStatus), QColor(0, 255, 0));
    EXPECT_TRUE(adc->LabelAdcStatus->text().isEmpty()) << "nothing is read at attach";
    EXPECT_GT(attached, before);
    EXPECT_EQ(InfoText(), "");

    EXPECT_TRUE(QTest::qWaitFor([&] { return adc->LabelAdcStatus->text() == expected; },
                                POLL_WAIT_MS))
        << adc->LabelAdcStatus->text().toStdString();
    EXPECT_GT(Requests(), attached);
    // The panel follows the board.
    ASSERT_TRUE(m_pBoard->Command("adc 7 2500"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return adc->LabelAdcStatus->text().endsWith("CH7: 2.500 V\r\n"); }, POLL_WAIT_MS));

    // Disconnected by the button: no reads; attached again to the closed board: none either,
    // and the last values stay.
    Click(CONNECT_CENTRE);
    EXPECT_FALSE(adc->IsPolling());
    Click(TabCentre(TAB_LED));
    Click(TabCentre(TAB_ADC));
    EXPECT_EQ(adc->Board(), &m_pForm->Board());
    EXPECT_FALSE(adc->IsPolling());
    EXPECT_TRUE(adc->LabelAdcStatus->text().endsWith("CH7: 2.500 V\r\n"));
    EXPECT_EQ(m_Failures, 0);
}

TEST_F(SdAdcPanelTest, AdcFailedReadEmptiesTheTextStopsPollingAndDisconnectsOnce)
{
    StartBoard(true);
    TFormADC* adc = OpenTab<TFormADC>(TAB_ADC);
    ASSERT_NE(adc, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return adc->IsValid(); }, POLL_WAIT_MS));

    ASSERT_TRUE(m_pBoard->InjectFault("checksum"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_pForm->Board().IsConnected(); }, POLL_WAIT_MS));
    EXPECT_TRUE(adc->LabelAdcStatus->text().isEmpty());
    EXPECT_FALSE(adc->IsValid());
    EXPECT_FALSE(adc->IsPolling()) << "no further reads until the next attach";
    ExpectDisconnectedByPanel(TAB_ADC);
}

TEST_F(SdAdcPanelTest, SdCardReadShowsEachCardAndOnlyWarnsWithoutOne)
{
    struct TCard
    {
        const char* Setup;
        const char* FileSystem;
        const char* CidLine;
        const char* CsdLine;
    };
    const TCard cards[] = {
        {"sd card sdhc", "FAT32", "-Product Name:VSD08\n", "-Memory Capacity:7579MB\n"},
        {"sd card sdsc", "FAT16", "-Product Name:VSD02\n", "-CSD Version 1.0\n"},
        {"sd fs 0", "NA", "-Product Name:VSD02\n", "-CSD Version 1.0\n"}};
    StartBoard(true);
    TFormSDCARD* sd = OpenTab<TFormSDCARD>(TAB_SDCARD);
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(sd->LabelCID->text(), "Card Identification");
    EXPECT_EQ(sd->LabelCSD->text(), "Card Specific Data");
    EXPECT_EQ(sd->LabelFAT->text(), "File System:");
    for (const TCard& card : cards)
    {
        ASSERT_TRUE(m_pBoard->Command(card.Setup));
        ClickPanel(sd, READ_CENTRE);
        EXPECT_EQ(sd->LabelSDCARD_FAT->text(), card.FileSystem) << card.Setup;
        EXPECT_TRUE(sd->LabelSDCARD_CID->text().contains(card.CidLine)) << card.Setup;
        EXPECT_TRUE(sd->LabelSDCARD_CSD->text().contains(card.CsdLine)) << card.Setup;
        EXPECT_EQ(InfoText(), "Read SDCARD read successfully");
        EXPECT_EQ(InfoColour(), QColor(INFO_GREEN));
    }
    EXPECT_TRUE(m_pHost->Messages.empty());

    ASSERT_TRUE(m_pBoard->Command("sd present 0"));
    ClickPanel(sd, READ_CENTRE);
    EXPECT_TRUE(sd->LabelSDCARD_CID->text().isEmpty());
    EXPECT_TRUE(sd->LabelSDCARD_CSD->text().isEmpty());
    EXPECT_TRUE(sd->LabelSDCARD_FAT->text().isEmpty());
    EXPECT_EQ(InfoText(), "Failed to access SDCARD.");
    EXPECT_EQ(InfoColour(), QColor(INFO_RED));
    const TRecordingHost::TMessage warning{
        THost::mkWarning, "Failed to access the SDCARD.\nPlease make sure a SDCARD is pluged "
                          "into the Velmora Starter Board."};
    EXPECT_EQ(m_pHost->Messages, std::vector<TRecordingHost::TMessage>{warning});
    EXPECT_TRUE(m_pForm->Board().IsConnected());
    EXPECT_EQ(m_Failures, 0);

    ASSERT_TRUE(m_pBoard->Command("sd present 1"));
    ClickPanel(sd, READ_CENTRE);
    EXPECT_EQ(sd->LabelSDCARD_FAT->text(), "NA");

    // Disconnected by the button: Read no longer responds, the report stays.
    Click(CONNECT_CENTRE);
    const uint64_t before = Requests();
    ClickPanel(sd, READ_CENTRE);
    EXPECT_EQ(sd->LabelSDCARD_FAT->text(), "NA");
    EXPECT_EQ(m_pHost->Messages.size(), 1u);
    EXPECT_EQ(Requests(), before);
}

TEST_F(SdAdcPanelTest, SdCardFailedExchangeEmptiesTheReportsAndDisconnectsOnce)
{
    StartBoard(true);
    TFormSDCARD* sd = OpenTab<TFormSDCARD>(TAB_SDCARD);
    ASSERT_NE(sd, nullptr);
    ClickPanel(sd, READ_CENTRE);
    ASSERT_EQ(sd->LabelSDCARD_FAT->text(), "FAT32");

    ASSERT_TRUE(m_pBoard->InjectFault("checksum"));
    ClickPanel(sd, READ_CENTRE);
    EXPECT_TRUE(sd->LabelSDCARD_CID->text().isEmpty());
    EXPECT_TRUE(sd->LabelSDCARD_CSD->text().isEmpty());
    EXPECT_TRUE(sd->LabelSDCARD_FAT->text().isEmpty());
    const TRecordingHost::TMessage error{THost::mkError, "Failed to access SDCARD."};
    EXPECT_EQ(m_pHost->Messages, std::vector<TRecordingHost::TMessage>{error});
    ExpectDisconnectedByPanel(TAB_SDCARD);
    EXPECT_EQ(InfoText(), "") << "the window's disconnect comes after the panel's text";
}
