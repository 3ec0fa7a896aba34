// The panel kit's contract with real pointer events on an offscreen panel and a real board
// link to a virtual board: button groups, the one-shot poll and the lost-link rule.

#include "PanelFixture.h"

#include "ops/BoardOutcome.h"

#include <QPushButton>

namespace
{

constexpr int32_t TAB_A = 1;
constexpr int32_t TAB_B = 2;
constexpr int32_t PUSH = 3;
constexpr int32_t TOGGLE = 4;
const QRect PUSH_RECT(10, 60, 64, 17);
constexpr int POLL_MS = 20;

// A panel made only of kit parts: two radio buttons, a push button standing in for a
// hidden platform button, a toggle, and a poll that pings the board.
class TKitPanel : public TFormPanel
{
public:
    TKitPanel(QWidget* owner, THost& host) : TFormPanel(owner, host, QStringLiteral("TAB_DLG_BK"))
    {
        Radio = &AddButtonGroup(bmRadio);
        Radio->AddButton(TAB_A, QStringLiteral("A"), 10, 10, QStringLiteral("NORMAL_BTN"));
        Radio->AddButton(TAB_B, QStringLiteral("B"), 10, 80, QStringLiteral("NORMAL_BTN"));
        Push = &AddButtonGroup(bmPush);
        AddSkinnedButton(*Push, PUSH, AddHiddenButton(PUSH_RECT, QStringLiteral("Go")),
                         QStringLiteral("NORMAL_BTN"));
        Toggle = &AddButtonGroup(bmToggle);
        Toggle->AddButton(TOGGLE, QString(), 120, 10, QStringLiteral("LEDG_LIGHT_BTN"));
    }

    TBoardAreas BoardAreas() const override { return {TBoardArea::Led}; }

    void StartPoll() { StartPolling(POLL_MS); }
    TOpResult Ping() { return Exchange(PingOp); }

    TButtonManager* Radio;
    TButtonManager* Push;
    TButtonManager* Toggle;
    std::vector<int32_t> Clicks;
    int Polls = 0;
    bool PingOnPush = false;

protected:
    void ButtonClick(TButtonManager&, int32_t id) override
    {
        Clicks.push_back(id);
        if (id == PUSH && PingOnPush)
        {
            Exchange(PingOp);
            ShowInfo(QStringLiteral("after the exchange"), TInfoColour::Red);
        }
    }
    bool PollBoard() override
    {
        ++Polls;
        return Exchange(PingOp) == TOpResult::Done;
    }

private:
    static TOpResult PingOp(TBoard& board) { return CommandOutcome(board, board.Ping()); }
};

using PanelKitTest = PanelTest<TKitPanel>;

const QPoint TAB_A_AT(40, 18);
const QPoint TAB_B_AT(110, 18);
const QPoint PUSH_AT(40, 68);
const QPoint TOGGLE_AT(20, 130);
const QPoint NOWHERE(300, 200);

} // namespace

TEST_F(PanelKitTest, ButtonGroupsFollowTheirModesUnderRealPointerEvents)
{
    TKitPanel& panel = *m_pPanel;
    struct
    {
        QPoint Press;
        QPoint Release;
        std::vector<int32_t> Clicks; // all reported so far
        bool ACheckedAfter;
        bool BCheckedAfter;
        bool ToggleCheckedAfter;
    } steps[] = {
        {TAB_A_AT, TAB_A_AT, {TAB_A}, true, false, false},
        {TAB_B_AT, TAB_B_AT, {TAB_A, TAB_B}, false, true, false},
        // Released elsewhere: nothing reported, nothing checked anew.
        {PUSH_AT, NOWHERE, {TAB_A, TAB_B}, false, true, false},
        // Pressed on one button, released on another: the one under the release counts.
        {TAB_B_AT, PUSH_AT, {TAB_A, TAB_B, PUSH}, false, true, false},
        {TOGGLE_AT, TOGGLE_AT, {TAB_A, TAB_B, PUSH, TOGGLE}, false, true, true},
        {TOGGLE_AT, TOGGLE_AT, {TAB_A, TAB_B, PUSH, TOGGLE, TOGGLE}, false, true, false},
    };
    for (const auto& step : steps)
    {
        Drag(step.Press, step.Release);
        EXPECT_EQ(panel.Clicks, step.Clicks);
        EXPECT_EQ(panel.Radio->IsChecked(TAB_A), step.ACheckedAfter);
        EXPECT_EQ(panel.Radio->IsChecked(TAB_B), step.BCheckedAfter);
        EXPECT_EQ(panel.Toggle->IsChecked(TOGGLE), step.ToggleCheckedAfter);
        for (TButtonManager* group : {panel.Radio, panel.Push, panel.Toggle})
            EXPECT_FALSE(group->IsPressed()) << "every group ends its press";
    }
    EXPECT_EQ(panel.Push->FindButton(PUSH)->Caption(), QString("Go"))
        << "the skinned button takes the hidden button's caption";
    // Only the group under the pointer keeps a hot button.
    QTest::mouseMove(Window(), TAB_A_AT);
    QTest::mouseMove(Window(), PUSH_AT);
    EXPECT_EQ(panel.Radio->HotID(), NO_BUTTON_ID);
    EXPECT_EQ(panel.Push->HotID(), PUSH);
}

TEST_F(PanelKitTest, PollRunsOnlyWhileItWorksAndTheBoardIsAttached)
{
    TKitPanel& panel = *m_pPanel;
    panel.AttachBoard(m_pLinkBoard.get());
    panel.StartPoll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.Polls >= 3; }, 2000))
        << "re-armed after a good poll";
    EXPECT_TRUE(panel.IsPolling());

    panel.DetachBoard();
    EXPECT_FALSE(panel.IsPolling());
    const long afterDetach = Requests();
    const int pollsAtDetach = panel.Polls;
    QTest::qWait(5 * POLL_MS);
    EXPECT_EQ(panel.Polls, pollsAtDetach);
    EXPECT_EQ(Requests(), afterDetach + 0) << "no poll reaches the board after detach";

    // Hidden, it does not poll; shown again it goes on.
    panel.AttachBoard(m_pLinkBoard.get());
    panel.StartPoll();
    panel.hide();
    const int pollsWhenHidden = panel.Polls;
    QTest::qWait(5 * POLL_MS);
    EXPECT_EQ(panel.Polls, pollsWhenHidden);
    panel.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.Polls > pollsWhenHidden; }, 2000));

    // Minimised, a hide from the window system, it goes on: the board keeps being asked.
    panel.setWindowState(Qt::WindowMinimized);
    const long minimised = Requests();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Requests() >= minimised + 3; }, 2000));
    panel.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(panel.IsPolling());
    EXPECT_EQ(m_LinkFailures, 0);
}

TEST_F(PanelKitTest, AFailedPollStopsPollingAndTellsTheOwnerOnce)
{
    TKitPanel& panel = *m_pPanel;
    panel.AttachBoard(m_pLinkBoard.get());
    // The handler takes the link away at once, as the main window does.
    panel.OnLinkFailure = [this](TFormPanel*)
    {
        ++m_LinkFailures;
        m_pLinkBoard->Disconnect();
    };
    ASSERT_TRUE(m_pBoard->InjectFault("checksum 1"));
    panel.StartPoll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_LinkFailures > 0; }, 10000));
    EXPECT_FALSE(panel.IsPolling());
    EXPECT_TRUE(panel.LinkLost());

    // Nothing of the panel touches the board any more, and it tells no one again.
    const long requests = Requests();
    EXPECT_EQ(panel.Ping(), TOpResult::LinkFailed);
    QTest::qWait(5 * POLL_MS);
    EXPECT_EQ(m_LinkFailures, 1);
    EXPECT_EQ(Requests(), requests);

    // A new attach starts over.
    QString error;
    ASSERT_TRUE(m_pLinkBoard->Connect(error, 0));
    panel.AttachBoard(m_pLinkBoard.get());
    EXPECT_FALSE(panel.LinkLost());
    EXPECT_EQ(panel.Ping(), TOpResult::Done);
}

TEST_F(PanelKitTest, ALinkLostInAClickIsToldWhenTheClickHasEnded)
{
    TKitPanel& panel = *m_pPanel;
    panel.AttachBoard(m_pLinkBoard.get());
    panel.PingOnPush = true;
    std::vector<QString> seen;
    panel.OnShowInfo = [&](const QString& text, TInfoColour) { seen.push_back(text); };
    panel.OnLinkFailure = [&](TFormPanel*) { seen.push_back(QStringLiteral("link failure")); };
    ASSERT_TRUE(m_pBoard->InjectFault("checksum 1"));
    Click(PUSH_AT);
    Click(PUSH_AT); // lost already: nothing more to tell
    EXPECT_EQ(seen,
              (std::vector<QString>{"after the exchange", "link failure", "after the exchange"}));
}
