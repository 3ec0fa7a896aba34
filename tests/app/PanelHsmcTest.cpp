#include "tests/app/PanelFixture.h"

#include "panels/UnitHSMC.h"

namespace
{

const QPoint VERIFY_CENTRE(292 + 32, 234 + 8);

struct THsmcCase
{
    const char* Board;  // control line that sets the adapter
    const char* Report; // "" when the test passes
};

const THsmcCase HSMC_CASES[] = {
    {"hsmc pass", ""},
    {"hsmc fail 0 0 0 0x1", "HSMC Test:NG\r\n<Transceiver Error:>\r\nHSMC Pin 31/29-32/30    \r\n"},
    {"hsmc fail 0 0 0 0xF0", "HSMC Test:NG\r\n<Transceiver Error:>\r\n"},
    {"hsmc fail 0 0 0x11 0",
     "HSMC Test:NG\r\n<IO Error:>\r\nHSMC Pin 39-40    \r\nHSMC Pin 159-160    \r\n"},
    // Bits 1 to 11: bit order, so pins 49-50 come after 89-90.
    {"hsmc fail 0x7FF 0 0 0",
     "HSMC Test:NG\r\n<IO Error:>\r\nHSMC Pin 41-42    \r\nHSMC Pin 43-44    \r\n"
     "HSMC Pin 47-48    \r\nHSMC Pin 53-54    \r\nHSMC Pin 59-60    \r\nHSMC Pin 65-66    \r\n"
     "HSMC Pin 71-72    \r\nHSMC Pin 77-78    \r\nHSMC Pin 83-84    \r\nHSMC Pin 89-90    \r\n"
     "HSMC Pin 49-50    \r\n"},
    {"hsmc fail 0 0 0x1F 0",
     "HSMC Test:NG\r\n<IO Error:>\r\nHSMC Pin 39-40    \r\nHSMC Pin 97-98    \r\n"
     "HSMC Pin 99-100    \r\nHSMC Pin 157-158    \r\nHSMC Pin 159-160    \r\n"},
    {"hsmc fail 0 0x20000 0 0x3",
     "HSMC Test:NG\r\n<Transceiver Error:>\r\nHSMC Pin 31/29-32/30    \r\n"
     "HSMC Pin 27/25-28/26    \r\n<IO Error:>\r\nHSMC Pin 151-152    \r\n"},
};

using HsmcPanelTest = PanelTest<TFormHSMC>;

} // namespace

TEST_F(HsmcPanelTest, VerifyShowsPassOrTheFailingPinsInBitOrder)
{
    TFormHSMC& hsmc = *m_pPanel;
    EXPECT_FALSE(hsmc.Buttons().IsEnabled(HSMC_ID_VERIFY)) << "no board yet";
    Attach();
    EXPECT_TRUE(hsmc.Buttons().IsEnabled(HSMC_ID_VERIFY));
    EXPECT_EQ(hsmc.LabelResult->text(), "");
    for (const THsmcCase& test : HSMC_CASES)
    {
        SCOPED_TRACE(test.Board);
        ASSERT_TRUE(m_pBoard->Command(test.Board)) << m_pBoard->LastError();
        m_pHost->Messages.clear();
        m_Info.clear();
        Click(VERIFY_CENTRE);
        const bool pass = *test.Report == '\0';
        EXPECT_EQ(hsmc.LabelResult->text(), pass ? "PASS" : "NG");
        EXPECT_EQ(TextColour(hsmc.LabelResult), QColor(pass ? INFO_GREEN : INFO_RED));
        const std::vector<TInfoLine> info{
            {"HSMC Loopback Testing...", TInfoColour::Yellow},
            pass ? TInfoLine{"HSMC Loopback Test: PASS", TInfoColour::Green}
                 : TInfoLine{"HSMC Loopback Test: NG", TInfoColour::Red}};
        EXPECT_EQ(m_Info, info);
        std::vector<TRecordingHost::TMessage> boxes;
        if (!pass)
            boxes.push_back({THost::mkInformation, QString::fromLatin1(test.Report)});
        EXPECT_EQ(m_pHost->Messages, boxes);
        EXPECT_TRUE(hsmc.Buttons().IsEnabled(HSMC_ID_VERIFY));
    }
    EXPECT_EQ(m_LinkFailures, 0);
}

TEST_F(HsmcPanelTest, RefusalIsNgWithoutABoxAndOnlyALostLinkGetsTheErrorBox)
{
    TFormHSMC& hsmc = *m_pPanel;
    Attach();
    ASSERT_TRUE(m_pBoard->Command("hsmc unplug")) << m_pBoard->LastError();
    Click(VERIFY_CENTRE);
    EXPECT_EQ(hsmc.LabelResult->text(), "NG");
    EXPECT_EQ(m_Info.back(), (TInfoLine{"Failed to perform HSMC test", TInfoColour::Red}));
    EXPECT_TRUE(m_pHost->Messages.empty());
    EXPECT_EQ(m_LinkFailures, 0);

    ASSERT_TRUE(m_pBoard->InjectFault("checksum"));
    Click(VERIFY_CENTRE);
    const std::vector<TRecordingHost::TMessage> box{
        {THost::mkError, QStringLiteral("Failed to perform HSMC test")}};
    EXPECT_EQ(m_pHost->Messages, box);
    EXPECT_EQ(m_Info.back(), (TInfoLine{"Failed to perform HSMC test", TInfoColour::Red}));
    EXPECT_EQ(hsmc.LabelResult->text(), "");
    EXPECT_EQ(m_LinkFailures, 1);
    EXPECT_TRUE(hsmc.Buttons().IsEnabled(HSMC_ID_VERIFY)) << "until the panel is detached";
    hsmc.DetachBoard();
    EXPECT_FALSE(hsmc.Buttons().IsEnabled(HSMC_ID_VERIFY));
}
