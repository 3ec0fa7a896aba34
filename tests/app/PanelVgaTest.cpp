#include "tests/app/PanelFixture.h"

#include "panels/UnitVGA.h"

#include "tests/app/BoardValue.h"

#include <QComboBox>

namespace
{

constexpr int COLOR_SCALE = 0;
constexpr int BLUE = 3;
constexpr int BLUE_SCALE = 8;

struct TPixelCase
{
    int Code;
    QPoint At; // in the preview
    QColor Colour;
};

// Columns are 329 * k / 40 wide (0: x 0-7, 16: x 131-138, 39: x 320-328), rows 169 * r / 4
// tall (0: y 0-41, 3: y 126-168); column k is at level (16 k) mod 256.
const TPixelCase PIXEL_CASES[] = {
    {COLOR_SCALE, {7, 41}, QColor(0, 0, 0)},
    {COLOR_SCALE, {8, 0}, QColor(16, 0, 0)},
    {COLOR_SCALE, {130, 0}, QColor(240, 0, 0)},
    {COLOR_SCALE, {131, 0}, QColor(0, 0, 0)},
    {COLOR_SCALE, {139, 42}, QColor(0, 16, 0)},
    {COLOR_SCALE, {8, 125}, QColor(0, 0, 16)},
    {COLOR_SCALE, {319, 126}, QColor(96, 96, 96)},
    {COLOR_SCALE, {320, 126}, QColor(112, 112, 112)},
    {COLOR_SCALE, {328, 168}, QColor(112, 112, 112)},
    {2, {0, 0}, QColor(0, 128, 0)},
    {2, {328, 168}, QColor(0, 128, 0)},
    {4, {164, 84}, QColor(255, 255, 255)},
    {6, {320, 0}, QColor(112, 0, 0)},
    {7, {8, 168}, QColor(0, 16, 0)},
    {BLUE_SCALE, {328, 42}, QColor(0, 0, 112)},
};

const QPoint PREVIEW_ORIGIN(32, 88);
const QColor OUTLINE_GREY(150, 150, 150);

using VgaPanelTest = PanelTest<TFormVGA>;

} // namespace

TEST_F(VgaPanelTest, PreviewFollowsTheGridAndSelectingWithoutABoardSendsNothing)
{
    TFormVGA& vga = *m_pPanel;
    EXPECT_EQ(vga.ComboBoxVGA->currentText(), "Color Scale");
    const long before = Requests();
    for (const TPixelCase& test : PIXEL_CASES)
    {
        SCOPED_TRACE(testing::Message()
                     << test.Code << " at " << test.At.x() << "," << test.At.y());
        vga.ComboBoxVGA->setCurrentIndex(test.Code);
        EXPECT_EQ(vga.Preview().pixelColor(test.At), test.Colour);
        EXPECT_EQ(Picture().pixelColor(PREVIEW_ORIGIN + test.At), test.Colour) << "on screen";
    }
    EXPECT_EQ(Requests(), before);
    EXPECT_TRUE(m_Info.empty());

    // The grey outline lies one pixel outside the preview on every side.
    const QImage picture = Picture();
    for (const QPoint corner : {QPoint(31, 87), QPoint(361, 87), QPoint(31, 257), QPoint(361, 257)})
        EXPECT_EQ(picture.pixelColor(corner), OUTLINE_GREY) << corner.x() << "," << corner.y();
}

TEST_F(VgaPanelTest, AttachStartsTheTransmitterAndSendsTheSelection)
{
    TFormVGA& vga = *m_pPanel;
    vga.ComboBoxVGA->setCurrentIndex(BLUE);
    EXPECT_EQ(BoardValue(*m_pBoard, "hdmi"), "running=0 pattern=0");

    // A start that fails is silent and sends no pattern: the start goes first.
    ASSERT_TRUE(m_pBoard->InjectFault("checksum"));
    long before = Requests();
    Attach();
    EXPECT_EQ(Requests() - before, 1);
    EXPECT_EQ(m_Info, (std::vector<TInfoLine>{{"", TInfoColour::Green}}));
    EXPECT_EQ(m_LinkFailures, 0);
    vga.DetachBoard();
    m_Info.clear();

    before = Requests();
    Attach();
    EXPECT_EQ(Requests() - before, 2) << "start, then set";
    EXPECT_EQ(BoardValue(*m_pBoard, "hdmi"), "running=1 pattern=3");
    const std::vector<TInfoLine> info{{"", TInfoColour::Green},
                                      {"HDMI-TX Setting...", TInfoColour::Yellow},
                                      {"Set HDMI-TX Success", TInfoColour::Green}};
    EXPECT_EQ(m_Info, info);

    vga.ComboBoxVGA->setCurrentIndex(BLUE_SCALE);
    EXPECT_EQ(BoardValue(*m_pBoard, "hdmi"), "running=1 pattern=8");

    // The transmitter keeps its pattern after detach; the list still previews.
    vga.DetachBoard();
    vga.ComboBoxVGA->setCurrentIndex(COLOR_SCALE);
    EXPECT_EQ(BoardValue(*m_pBoard, "hdmi"), "running=1 pattern=8");
    EXPECT_EQ(m_LinkFailures, 0);
}

TEST_F(VgaPanelTest, AFailedSetIsALinkFailure)
{
    Attach();
    ASSERT_TRUE(m_pBoard->InjectFault("checksum"));
    m_pPanel->ComboBoxVGA->setCurrentIndex(BLUE);
    EXPECT_EQ(m_LinkFailures, 1);
    EXPECT_EQ(m_Info.back(), (TInfoLine{"HDMI-TX Setting...", TInfoColour::Yellow}));
    EXPECT_EQ(m_pPanel->Preview().pixelColor(0, 0), QColor(0, 0, 255)) << "the preview changed";
}
