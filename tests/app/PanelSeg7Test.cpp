// The seven-segment panel against a virtual board: steps, wrap-around and what is sent.

#include "PanelFixture.h"

#include "panels/UnitSeg7.h"

namespace
{

QPoint Up(int k)
{
    return QPoint(300 - 70 * k + 10, 170 + 8);
}
QPoint Down(int k)
{
    return QPoint(278 - 70 * k + 10, 170 + 8);
}
QRect DigitRect(int k)
{
    return QRect(270 - 70 * k + 8, 105, 40, 59);
}

class Seg7PanelTest : public PanelTest<TFormSeg7>
{
protected:
    // The digit word the board holds.
    uint32_t SentWord()
    {
        const std::string reply = m_pBoard->Control("seg7");
        const size_t at = reply.find("word=");
        EXPECT_NE(at, std::string::npos) << reply;
        return at == std::string::npos
                   ? 0
                   : static_cast<uint32_t>(std::stoul(reply.substr(at + 5), nullptr, 16));
    }
};

} // namespace

TEST_F(Seg7PanelTest, EachStepSendsAllFourDigitsWithAZeroExtraByte)
{
    Attach();
    EXPECT_EQ(m_Info, (std::vector<TInfoLine>{{"", TInfoColour::Green}}));
    struct
    {
        QPoint Arrow;
        const char* Board; // digits HEX3..HEX0 and the extra byte, as the board holds them
    } steps[] = {
        {Up(0), "digits=8889 word=0x00008889 extra=0x00"},
        {Down(0), "digits=8888 word=0x00008888 extra=0x00"},
        {Down(3), "digits=7888 word=0x00007888 extra=0x00"},
        {Up(2), "digits=7988 word=0x00007988 extra=0x00"},
        {Down(1), "digits=7978 word=0x00007978 extra=0x00"},
    };
    for (const auto& step : steps)
    {
        Click(step.Arrow);
        EXPECT_EQ(m_pBoard->Control("seg7"), std::string("ok ") + step.Board);
    }
    EXPECT_EQ(m_LinkFailures, 0);
}

TEST_F(Seg7PanelTest, SixteenStepsWrapAroundAndReturnTheDigit)
{
    Attach();
    TFormSeg7& panel = *m_pPanel;
    struct
    {
        int Digit;
        QPoint Arrow;
        int Step;
    } runs[] = {{1, Up(1), 1}, {2, Down(2), -1}};
    for (const auto& run : runs)
    {
        const QImage start = Picture().copy(DigitRect(run.Digit));
        const long before = Requests();
        for (int n = 1; n <= 16; ++n)
        {
            Click(run.Arrow);
            const int expected = ((SEG7_START_VALUE + run.Step * n) % 16 + 16) % 16;
            EXPECT_EQ(panel.DigitValues()[static_cast<std::size_t>(run.Digit)], expected);
            EXPECT_EQ(SentWord() >> (4 * run.Digit) & 0xF, static_cast<uint32_t>(expected))
                << "digit " << run.Digit << ", step " << n;
        }
        EXPECT_EQ(Requests() - before, 16) << "every step sends once";
        EXPECT_EQ(Picture().copy(DigitRect(run.Digit)), start) << "the digit's picture is back";
    }
}

TEST_F(Seg7PanelTest, DetachedArrowsAreDeadAndALinkClosedUnderThePanelIsAFailure)
{
    TFormSeg7& panel = *m_pPanel;
    const long before = Requests();
    Click(Up(0));
    Attach();
    panel.DetachBoard();
    Click(Up(0));
    EXPECT_EQ(panel.DigitValues()[0], SEG7_START_VALUE);
    EXPECT_EQ(Requests(), before);

    // Unlike the LED panel, an attached board that is no longer connected is reported; the
    // digit stays with the board.
    Attach();
    m_pLinkBoard->Disconnect();
    Click(Up(0));
    EXPECT_EQ(panel.DigitValues()[0], SEG7_START_VALUE);
    EXPECT_EQ(m_LinkFailures, 1);
    EXPECT_EQ(Requests(), before);
}
