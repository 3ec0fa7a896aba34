#include "tests/app/MainWindowFixture.h"

#include "panels/UnitMemory.h"

#include <QComboBox>

TEST_F(MainWindowTest, SwitchingTabsMovesBoardAndOutlinesAndTheCurrentTabIsLeftAlone)
{
    StartBoard(true);
    LinkEverything();
    OpenWindow();
    AutoConnect();
    TFormMain& form = *m_pForm;
    TFormPanel* led = form.Panel(TAB_LED);

    // Releasing on the current tab re-activates nothing: no fresh binding, no outlines redone.
    int boundFailures = 0;
    led->OnLinkFailure = [&](TFormPanel*) { ++boundFailures; };
    form.ShapeLed->hide();
    Click(TabCentre(TAB_LED));
    EXPECT_FALSE(IsShown(form.ShapeLed));
    led->OnLinkFailure(led);
    EXPECT_EQ(boundFailures, 1) << "the panel kept the test's binding";
    EXPECT_TRUE(form.Board().IsConnected());
    EXPECT_EQ(led->Board(), &form.Board());

    Click(TabCentre(TAB_SEG7));
    EXPECT_EQ(form.CurrentTab(), TAB_SEG7);
    EXPECT_FALSE(IsShown(led));
    EXPECT_EQ(led->Board(), nullptr);
    EXPECT_TRUE(IsShown(form.Panel(TAB_SEG7)));
    EXPECT_EQ(form.Panel(TAB_SEG7)->Board(), &form.Board());
    EXPECT_EQ(ShownOutlines(), std::vector<TShape*>{form.ShapeSegDisp});
    EXPECT_TRUE(form.TabButtons().IsChecked(TAB_SEG7));
    EXPECT_FALSE(form.TabButtons().IsChecked(TAB_LED));

    Click(TabCentre(TAB_BUTTON));
    const std::vector<TShape*> keysAndSwitches{form.ShapeButtonSw, form.ShapeButton};
    std::vector<TShape*> shown = ShownOutlines();
    std::sort(shown.begin(), shown.end());
    std::vector<TShape*> expected = keysAndSwitches;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);

    const std::pair<int, TShape*> single[] = {{TAB_SDCARD, form.ShapeSDCARD}, {TAB_ADC, form.ShapeADC},
                                              {TAB_RS232, form.ShapeRS232},   {TAB_VGA, form.ShapeVGA},
                                              {TAB_HSMC, form.ShapeHSMC}};
    for (const auto& [tab, outline] : single)
    {
        Click(TabCentre(tab));
        EXPECT_EQ(form.CurrentTab(), tab);
        EXPECT_EQ(ShownOutlines(), std::vector<TShape*>{outline}) << tab;
    }
}

TEST_F(MainWindowTest, MemoryOutlineFollowsTheMemoryType)
{
    StartBoard(true);
    LinkEverything();
    OpenWindow();
    AutoConnect();
    TFormMain& form = *m_pForm;
    Click(TabCentre(TAB_MEMORY));
    auto* memory = dynamic_cast<TFormMemory*>(form.Panel(TAB_MEMORY));
    ASSERT_NE(memory, nullptr);
    ASSERT_EQ(memory->ComboBoxMemType->count(), 2);
    EXPECT_EQ(ShownOutlines(), std::vector<TShape*>{form.ShapeLPDDR2});

    // Chosen as the user does, through the list's activation.
    memory->ComboBoxMemType->setCurrentIndex(1);
    emit memory->ComboBoxMemType->activated(1);
    EXPECT_EQ(memory->SelectedMemoryIndex(), 1);
    EXPECT_EQ(ShownOutlines(), std::vector<TShape*>{form.ShapeSRAM});

    memory->ComboBoxMemType->setCurrentIndex(-1);
    emit memory->ComboBoxMemType->activated(-1);
    EXPECT_TRUE(ShownOutlines().empty()) << "no selection, no outline";
}

TEST_F(MainWindowTest, FailedConnectLeavesTabsUsableWithTheDisconnectedBoard)
{
    StartBoard(false);
    ASSERT_TRUE(m_Folder.Link(JTAG_LIBRARY));
    OpenWindow();
    AutoConnect();
    ASSERT_FALSE(m_pForm->Board().IsConnected());
    Click(TabCentre(TAB_ADC));
    EXPECT_EQ(m_pForm->CurrentTab(), TAB_ADC);
    EXPECT_TRUE(IsShown(m_pForm->Panel(TAB_ADC)));
    EXPECT_EQ(m_pForm->Panel(TAB_ADC)->Board(), &m_pForm->Board());
    EXPECT_FALSE(IsShown(m_pForm->AnimateWelcome));
}

TEST_F(MainWindowTest, DisabledButtonsDragTheWindowAndEnabledOnesDoNot)
{
    OpenWindow();
    TFormMain& form = *m_pForm;
    QWindow* window = form.windowHandle();
    const QPoint tab = TabCentre(TAB_SEG7);
    const QPoint shift(30, 20);

    // An enabled tab is a button: the window stays.
    const QPoint start = form.pos();
    MoveTo(NEUTRAL_POINT);
    MoveTo(tab);
    QTest::mousePress(window, Qt::LeftButton, {}, tab);
    QTest::mouseMove(window, tab + shift);
    QTest::mouseRelease(window, Qt::LeftButton, {}, tab + shift);
    EXPECT_EQ(form.pos(), start);
    EXPECT_EQ(form.CurrentTab(), TAB_NONE) << "released off every button";

    // The same tab disabled is picture: the window follows the pointer.
    // The release comes where the pointer rests, which is the pressed point of the moved window.
    form.EnableUI(false);
    MoveTo(NEUTRAL_POINT);
    MoveTo(tab);
    QTest::mousePress(window, Qt::LeftButton, {}, tab);
    QTest::mouseMove(window, tab + shift);
    QTest::mouseRelease(window, Qt::LeftButton, {}, tab);
    EXPECT_EQ(form.pos(), start + shift);
    EXPECT_TRUE(form.IsDragArea(tab.x(), tab.y()));
    EXPECT_TRUE(form.IsDragArea(ABOUT_CENTRE.x(), ABOUT_CENTRE.y()) == false)
        << "about and minimise are never disabled";
}

TEST_F(MainWindowTest, GaugeFollowsTheClockAgainstItsEstimate)
{
    OpenWindow();
    TFormMain& form = *m_pForm;
    uint32_t tick = 1000;
    m_pHost->Clock = [&] { return tick; };
    form.StartProgress(10000, 5, 95);
    EXPECT_TRUE(IsShown(form.CGaugeConfig));
    EXPECT_EQ(form.CGaugeConfig->Progress(), 0);
    EXPECT_EQ(form.TimerProgress->interval(), 100);
    EXPECT_TRUE(form.TimerProgress->isActive());

    tick = 1000 + 5000;
    form.TimerProgressTimer();
    EXPECT_EQ(form.CGaugeConfig->Progress(), 50);
    EXPECT_TRUE(form.TimerProgress->isActive()) << "re-armed after each step";
    tick = 1000 + 25000;
    form.TimerProgressTimer();
    EXPECT_EQ(form.CGaugeConfig->Progress(), 95) << "never past its end";

    form.PauseProgress();
    EXPECT_FALSE(form.TimerProgress->isActive());
    EXPECT_TRUE(IsShown(form.CGaugeConfig));
    EXPECT_EQ(form.CGaugeConfig->Progress(), 95);

    // The clock wraps during a run.
    tick = 0xFFFFFF00u;
    form.StartProgress(5000, 0, 5);
    EXPECT_EQ(form.TimerProgress->interval(), 50);
    tick = 0xFFFFFF00u + 4000;
    form.TimerProgressTimer();
    EXPECT_EQ(form.CGaugeConfig->Progress(), 4);

    form.StopProgress();
    EXPECT_FALSE(IsShown(form.CGaugeConfig));
    EXPECT_FALSE(form.TimerProgress->isActive());
}
