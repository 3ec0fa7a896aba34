#include "tests/app/MainWindowFixture.h"

#include <QTemporaryDir>

namespace
{

using TMessage = TRecordingHost::TMessage;

} // namespace

TEST_F(MainWindowTest, StartsDisconnectedWithTheClipPlayingAndConnectsByItself)
{
    StartBoard(true);
    // No download library: a board that answers must connect without one.
    ASSERT_TRUE(m_Folder.Link(JTAG_LIBRARY));
    m_pHost = std::make_unique<TRecordingHost>(m_Folder.Path());
    m_pForm = std::make_unique<TFormMain>(*m_pHost);
    TFormMain& form = *m_pForm;

    EXPECT_EQ(form.windowTitle(), "Kelvaro - HX9 Control Panel V1.0.2");
    EXPECT_EQ(form.LabelCaption->text(), form.windowTitle());
    EXPECT_EQ(form.size(), QSize(620, 600));
    EXPECT_EQ(form.LabelConnectStatus->text(), "");
    EXPECT_EQ(TextColour(form.LabelConnectStatus), QColor(INFO_RED));
    EXPECT_FALSE(IsShown(form.LabelInfo));
    EXPECT_TRUE(IsShown(form.ImageInfo));
    EXPECT_FALSE(IsShown(form.CGaugeConfig));
    EXPECT_TRUE(IsShown(form.AnimateWelcome));
    EXPECT_EQ(form.WelcomeMovie()->state(), QMovie::Running);
    EXPECT_EQ(form.CurrentTab(), TAB_NONE);
    EXPECT_TRUE(ShownOutlines().empty());
    for (int tab = 0; tab < TAB_COUNT; ++tab)
    {
        EXPECT_EQ(form.Panel(tab)->geometry(), QRect(204, 288, 387, 276)) << tab;
        EXPECT_FALSE(IsShown(form.Panel(tab))) << tab;
    }
    EXPECT_TRUE(form.TimerRun->isActive());
    EXPECT_EQ(form.TimerRun->interval(), 300);

    form.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Board().IsConnected(); }, 20000));
    EXPECT_FALSE(form.TimerRun->isActive()) << "the start-up timer fires once";
    ExpectConnectedOnLedTab();
    EXPECT_TRUE(m_pHost->Messages.empty());
}

TEST_F(MainWindowTest, ConfiguresABlankBoardAndConnects)
{
    StartBoard(false);
    LinkEverything();
    OpenWindow();
    AutoConnect();
    ExpectConnectedOnLedTab();
    EXPECT_TRUE(m_pHost->Messages.empty());
    EXPECT_NE(BoardStatus().find("programmed=1"), std::string::npos) << BoardStatus();
}

// A connect that fails: how the program folder and the board stand, the boxes in order and
// the text the information line keeps.
struct TFailedConnect
{
    const char* Name;
    bool Programmed;
    std::vector<QString> Links;
    QByteArray OwnImage;      // written as the image when not empty
    const char* BoardName;    // set on the board when not null
    const char* Fault;        // injected when not null
    bool EmptyQuartus;        // QUARTUS_ROOTDIR names a root whose bin holds no programmer
    bool RacingClock;         // each clock reading 100 ms later than the last
    std::vector<TMessage> Messages;
    QString Info;
};

void PrintTo(const TFailedConnect& c, std::ostream* out)
{
    *out << c.Name;
}

class FailedConnectTest : public MainWindowTest, public ::testing::WithParamInterface<TFailedConnect>
{
};

const QString CONFIGURE_FAIL = QStringLiteral("Configure FPGA fail");
const std::vector<QString> ALL_FILES = {JTAG_LIBRARY, DOWNLOAD_LIBRARY, IMAGE_FILE};

INSTANTIATE_TEST_SUITE_P(
    Connect, FailedConnectTest,
    ::testing::Values(
        TFailedConnect{"LowerCaseBoardName", true, ALL_FILES, {}, "hx9", nullptr, false, false,
                       {{THost::mkError, "Invalid Board Name"}}, "Invalid Board Name"},
        TFailedConnect{"OtherBoardName", true, ALL_FILES, {}, "HX9A", nullptr, false, false,
                       {{THost::mkError, "Invalid Board Name"}}, "Invalid Board Name"},
        TFailedConnect{"NameQueryUnanswered", true, ALL_FILES, {}, nullptr, "stall 1000", false,
                       true, {{THost::mkError, "Failed to query board name."}},
                       "Failed to query board name."},
        TFailedConnect{"QuartusVersionZero", false, ALL_FILES, {}, nullptr, nullptr, true, false,
                       {{THost::mkError, "Please make sure Quartus is installed!"}},
                       CONFIGURE_FAIL},
        TFailedConnect{"ImageMissing", false, {JTAG_LIBRARY, DOWNLOAD_LIBRARY}, {}, nullptr,
                       nullptr, false, false,
                       {{THost::mkError, "Can not find the file: HX9_ControlPanel.sof"}},
                       CONFIGURE_FAIL},
        TFailedConnect{"DownloadRefused", false, {JTAG_LIBRARY, DOWNLOAD_LIBRARY},
                       "not an FPGA image", nullptr, nullptr, false, false,
                       {{THost::mkError, "download SOPC file (HX9_ControlPanel.sof) fail!"}},
                       CONFIGURE_FAIL}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_P(FailedConnectTest, ShowsItsBoxesAndEndsDisconnectedWithEverythingEnabled)
{
    const TFailedConnect& c = GetParam();
    StartBoard(c.Programmed);
    for (const QString& name : c.Links)
    {
        ASSERT_TRUE(m_Folder.Link(name));
    }
    if (!c.OwnImage.isEmpty())
    {
        ASSERT_TRUE(m_Folder.Write(IMAGE_FILE, c.OwnImage));
    }
    if (c.BoardName)
    {
        ASSERT_TRUE(m_pBoard->Command(std::string("board-name ") + c.BoardName));
    }
    if (c.Fault)
    {
        ASSERT_TRUE(m_pBoard->InjectFault(c.Fault)) << m_pBoard->LastError();
    }
    QTemporaryDir emptyRoot;
    std::unique_ptr<TQuartusRoot> quartus;
    if (c.EmptyQuartus)
    {
        ASSERT_TRUE(QDir(emptyRoot.path()).mkdir("bin"));
        quartus = std::make_unique<TQuartusRoot>(emptyRoot.path());
    }
    OpenWindow();
    if (c.RacingClock)
    {
        m_pHost->Clock = [tick = uint32_t(0)]() mutable { return tick += 100; };
    }

    AutoConnect();
    EXPECT_EQ(m_pHost->Messages, c.Messages);
    for (const TMessage& message : m_pHost->Messages)
    {
        EXPECT_FALSE(message.Text.contains('/')) << "no folder in " << message.Text.toStdString();
    }
    ExpectFailedConnect(c.Info);
}

TEST_F(MainWindowTest, MissingDownloadLibraryGivesItsOwnBoxThenOurs)
{
    StartBoard(false);
    ASSERT_TRUE(m_Folder.Link(JTAG_LIBRARY));
    ASSERT_TRUE(m_Folder.Link(IMAGE_FILE));
    OpenWindow();
    AutoConnect();
    ASSERT_EQ(m_pHost->Messages.size(), 2u);
    EXPECT_EQ(m_pHost->Messages[0].Kind, THost::mkError);
    EXPECT_EQ(m_pHost->Messages[0].Text, "fail to load dll - " + m_Folder.Path() + DOWNLOAD_LIBRARY);
    EXPECT_EQ(m_pHost->Messages[1], (TMessage{THost::mkError, "Download tool not found."}));
    ExpectFailedConnect(CONFIGURE_FAIL);
    EXPECT_NE(BoardStatus().find("programmed=0"), std::string::npos) << BoardStatus();
}

TEST_F(MainWindowTest, ClipPlaysDuringTheFirstConnectOnlyAndStandsStillInALaterOne)
{
    StartBoard(false);
    ASSERT_TRUE(m_Folder.Link(JTAG_LIBRARY));
    ASSERT_TRUE(m_Folder.Link(DOWNLOAD_LIBRARY));
    OpenWindow();
    std::vector<QMovie::MovieState> clipAtBox;
    m_pHost->OnMessage = [&] { clipAtBox.push_back(m_pForm->WelcomeMovie()->state()); };

    AutoConnect();
    Click(CONNECT_CENTRE);
    ASSERT_EQ(clipAtBox.size(), 2u);
    EXPECT_EQ(clipAtBox[0], QMovie::Running);
    EXPECT_NE(clipAtBox[1], QMovie::Running);
    ExpectFailedConnect(CONFIGURE_FAIL);

    // With the image in place the same click connects.
    ASSERT_TRUE(m_Folder.Link(IMAGE_FILE));
    Click(CONNECT_CENTRE);
    ExpectConnectedOnLedTab();
    EXPECT_EQ(m_pHost->Messages.size(), 2u);
}

TEST_F(MainWindowTest, DisconnectButtonKeepsThePanelDeactivatedAndReconnectReturnsToLed)
{
    StartBoard(true);
    LinkEverything();
    OpenWindow();
    AutoConnect();
    Click(TabCentre(TAB_HSMC));
    ASSERT_EQ(m_pForm->CurrentTab(), TAB_HSMC);
    TFormPanel* hsmc = m_pForm->Panel(TAB_HSMC);
    ASSERT_EQ(hsmc->Board(), &m_pForm->Board());

    Click(CONNECT_CENTRE);
    TFormMain& form = *m_pForm;
    EXPECT_FALSE(form.Board().IsConnected());
    EXPECT_EQ(form.LabelConnectStatus->text(), "Disconnected");
    EXPECT_EQ(TextColour(form.LabelConnectStatus), QColor(INFO_RED));
    EXPECT_EQ(form.ButtonConnect->text(), "Connect");
    EXPECT_EQ(ConnectStrip(), "CONNECT_BTN");
    EXPECT_EQ(form.CurrentTab(), TAB_HSMC);
    EXPECT_TRUE(IsShown(hsmc));
    EXPECT_EQ(hsmc->Board(), nullptr);
    EXPECT_TRUE(TabsEnabled(true));
    EXPECT_EQ(ShownOutlines(), std::vector<TShape*>{form.ShapeHSMC});

    Click(CONNECT_CENTRE);
    ExpectConnectedOnLedTab();
    EXPECT_FALSE(IsShown(hsmc));
    EXPECT_FALSE(form.TabButtons().IsChecked(TAB_HSMC));
    EXPECT_TRUE(m_pHost->Messages.empty());
}

TEST_F(MainWindowTest, PanelLinkFailureLeavesTabsDisabledUntilTheNextConnect)
{
    StartBoard(true);
    LinkEverything();
    OpenWindow();
    AutoConnect();
    Click(TabCentre(TAB_BUTTON));
    TFormPanel* panel = m_pForm->Panel(TAB_BUTTON);
    ASSERT_TRUE(panel->OnLinkFailure);

    panel->OnLinkFailure(panel);
    TFormMain& form = *m_pForm;
    EXPECT_FALSE(form.Board().IsConnected());
    EXPECT_EQ(form.LabelConnectStatus->text(), "Disconnected");
    EXPECT_EQ(TextColour(form.LabelConnectStatus), QColor(INFO_RED));
    EXPECT_TRUE(TabsEnabled(false));
    EXPECT_TRUE(form.ButtonConnect->isEnabled());
    EXPECT_TRUE(form.SysButtons().IsEnabled(ID_CONNECT));
    EXPECT_TRUE(form.SysButtons().IsEnabled(ID_CLOSE));
    EXPECT_TRUE(form.SysButtons().IsEnabled(ID_MINI));
    EXPECT_TRUE(form.SysButtons().IsEnabled(ID_ABOUT));
    EXPECT_EQ(form.CurrentTab(), TAB_BUTTON);
    EXPECT_TRUE(IsShown(panel));
    EXPECT_EQ(panel->Board(), &form.Board()) << "the panel stays attached";

    Click(TabCentre(TAB_LED));
    EXPECT_EQ(form.CurrentTab(), TAB_BUTTON) << "a disabled tab does not switch";

    Click(CONNECT_CENTRE);
    ExpectConnectedOnLedTab();
}

TEST_F(MainWindowTest, CloseEndsWithoutTheDisconnectSequence)
{
    StartBoard(true);
    LinkEverything();
    OpenWindow();
    AutoConnect();
    Click(CLOSE_CENTRE);
    EXPECT_FALSE(m_pForm->isVisible());
    EXPECT_EQ(m_pForm->LabelConnectStatus->text(), "Connected");
    EXPECT_TRUE(m_pForm->Board().IsConnected()) << "the board object closes the link itself";
}

// The connect blocks the window's thread, but its long waits let the clip and the gauge move
// on; the controls stay disabled all along, so no click can reach them.
TEST_F(MainWindowTest, ClipAndGaugeMoveWhileASlowBoardIsAwaited)
{
    StartBoard(true);
    ASSERT_TRUE(m_Folder.Link(JTAG_LIBRARY));
    OpenWindow();
    ASSERT_TRUE(m_pBoard->InjectFault("delay 2500 1")); // the name query's answer
    int frames = 0;
    int framesWithControlsEnabled = 0;
    int gaugeSeen = 0;
    QObject::connect(m_pForm->WelcomeMovie(), &QMovie::frameChanged, m_pForm.get(),
                     [&]
                     {
                         ++frames;
                         framesWithControlsEnabled += TabsEnabled(false) ? 0 : 1;
                         gaugeSeen = std::max(gaugeSeen, m_pForm->CGaugeConfig->Progress());
                     });
    AutoConnect();
    ExpectConnectedOnLedTab();
    EXPECT_GE(frames, 10) << "the clip stood still during the 2.5 s wait";
    EXPECT_EQ(framesWithControlsEnabled, 0);
    EXPECT_GT(gaugeSeen, 0) << "the gauge stood still";
}
