#include "app/Application.h"
#include "app/GuiHost.h"
#include "app/InstanceChannel.h"
#include "app/SingleInstance.h"
#include "app/UnitAbout.h"
#include "app/UnitMain.h"
#include "panels/UnitProgress.h"
#include "skin/ButtonManager.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScratchFolder.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QPoint ABOUT_CLOSE_CENTRE(118 + 32, 277 + 8);
const QPoint MINI_CENTRE(520 + 18, 19 + 6);

} // namespace

TEST(SingleInstance, SecondStartSaysSoAndOpensNoWindow)
{
    TSingleInstance first;
    ASSERT_TRUE(first.Acquire());
    TRecordingHost host(QString{});
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunControlPanel(host), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "The application is running.\n");
    EXPECT_EQ(host.Messages, (std::vector<TRecordingHost::TMessage>{
                                 {THost::mkInformation, "The application is running."}}));
    for (QWidget* widget : QApplication::topLevelWidgets())
    {
        EXPECT_EQ(qobject_cast<TFormMain*>(widget), nullptr);
    }
    TSingleInstance meanwhile;
    EXPECT_FALSE(meanwhile.Acquire());
}

TEST(SingleInstance, SecondStartBringsTheFirstToTheFront)
{
    EXPECT_FALSE(TInstanceChannel::Knock()) << "nobody listens";
    // A socket left by a copy that died does not keep the next one from listening.
    QFile stale(TSingleInstance::ChannelPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    TInstanceChannel channel;
    int knocks = 0;
    ASSERT_TRUE(channel.Listen([&] { ++knocks; }));

    TSingleInstance first;
    ASSERT_TRUE(first.Acquire());
    TRecordingHost host(QString{});
    EXPECT_EQ(RunControlPanel(host), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return knocks == 1; }));
    EXPECT_EQ(host.Messages.size(), 1u) << "and still says the application is running";
}

TEST(SingleInstance, LockIsFreeAgainOnceTheFirstEnds)
{
    {
        TSingleInstance first;
        ASSERT_TRUE(first.Acquire());
    }
    TSingleInstance next;
    EXPECT_TRUE(next.Acquire());
}

TEST(SingleInstance, CopiesWithDifferentTemporaryFoldersStillMeet)
{
    TSingleInstance first;
    ASSERT_TRUE(first.Acquire());
    const QByteArray temporary = qgetenv("TMPDIR");
    QTemporaryDir other;
    qputenv("TMPDIR", other.path().toLocal8Bit());
    TSingleInstance second;
    EXPECT_FALSE(second.Acquire());
    qputenv("TMPDIR", temporary);

    // Without a runtime folder of the session the lock is the user's own in /tmp.
    const QByteArray runtime = qgetenv(RUNTIME_FOLDER_ENV);
    qunsetenv(RUNTIME_FOLDER_ENV);
    EXPECT_EQ(TSingleInstance::LockPath(),
              QStringLiteral("/tmp/KELVARO_TQR_480_CONTROL_PANEL-%1.lock").arg(getuid()));
    qputenv(RUNTIME_FOLDER_ENV, runtime);
}

namespace
{

// Throws from its event handler: a standard exception, or something of no known type.
class TThrowingObject : public QObject
{
public:
    static constexpr QEvent::Type STANDARD = QEvent::User;
    static constexpr QEvent::Type UNKNOWN = static_cast<QEvent::Type>(QEvent::User + 1);

    bool event(QEvent* event) override
    {
        if (event->type() == STANDARD)
            throw std::runtime_error("Bitmap resource not found");
        if (event->type() == UNKNOWN)
            throw 42;
        return QObject::event(event);
    }
};

} // namespace

TEST(Application, ExceptionFromAnEventHandlerIsShownAndTheLoopGoesOn)
{
    auto* application = qobject_cast<TApplication*>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    TRecordingHost host;
    application->SetHost(&host);
    TThrowingObject thrower;
    QEventLoop loop;
    QCoreApplication::postEvent(&thrower, new QEvent(TThrowingObject::STANDARD));
    QCoreApplication::postEvent(&thrower, new QEvent(TThrowingObject::UNKNOWN));
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    application->SetHost(nullptr);
    EXPECT_EQ(host.Messages,
              (std::vector<TRecordingHost::TMessage>{{THost::mkError, "Bitmap resource not found"},
                                                     {THost::mkError, ""}}));
}

// Typed into the real save dialog and taken with Return: a new name without a suffix gets
// .bin; what exists already (a file, a device, a FIFO) and a name with a suffix stay as typed.
TEST(SaveDialog, TheDefaultSuffixGoesOnlyOnANewName)
{
    const hx9test::TScratchFolder folder;
    folder.Make("old", "kept");
    ASSERT_EQ(mkfifo(folder.Path("fifo").toLocal8Bit().constData(), 0600), 0);
    const struct
    {
        QString Typed;
        QString Chosen;
    } cases[] = {
        {folder.Path("new"), folder.Path("new.bin")},
        {folder.Path("new.hex"), folder.Path("new.hex")},
        {folder.Path("old"), folder.Path("old")},
        {folder.Path("fifo"), folder.Path("fifo")},
        {"/dev/null", "/dev/null"},
    };
    TGuiHost host;
    for (const auto& c : cases)
    {
        QTimer::singleShot(0,
                           [&c]
                           {
                               auto* name =
                                   QApplication::activeModalWidget()->findChild<QLineEdit*>(
                                       "fileNameEdit");
                               ASSERT_NE(name, nullptr);
                               name->setText(c.Typed);
                               QTest::keyClick(name, Qt::Key_Return);
                           });
        EXPECT_EQ(host.AskSaveFileName("All files (*)", "bin"), c.Chosen);
    }
}

TEST(AboutBox, ClosesOnlyOnAReleaseOverItsCloseButton)
{
    TFormAbout about(nullptr);
    EXPECT_EQ(about.windowTitle(), "About Control Panel");
    EXPECT_FALSE(about.windowFlags().testFlag(Qt::FramelessWindowHint)) << "a framed dialog";
    EXPECT_EQ(about.size(), QSize(300, 300));
    EXPECT_TRUE(about.ButtonExit->isHidden());
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QWindow* window = about.windowHandle();

    QTest::mouseMove(window, QPoint(10, 10));
    QTest::mouseMove(window, ABOUT_CLOSE_CENTRE);
    QTest::mousePress(window, Qt::LeftButton, {}, ABOUT_CLOSE_CENTRE);
    QTest::mouseMove(window, QPoint(150, 100));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(150, 100));
    EXPECT_TRUE(about.isVisible());

    QTest::mouseMove(window, ABOUT_CLOSE_CENTRE);
    QTest::mousePress(window, Qt::LeftButton, {}, ABOUT_CLOSE_CENTRE);
    QTest::mouseRelease(window, Qt::LeftButton, {}, ABOUT_CLOSE_CENTRE);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(MainWindowTest, AboutButtonShowsTheBoxModally)
{
    OpenWindow();
    // Answers the box once it is up; the click returns when it is closed.
    QString shown;
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout,
                     [&]
                     {
                         if (QWidget* modal = QApplication::activeModalWidget())
                         {
                             shown = modal->windowTitle();
                             modal->close();
                             answer.stop();
                         }
                     });
    answer.start();
    Click(ABOUT_CENTRE);
    EXPECT_EQ(shown, "About Control Panel");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// While a connect runs only minimise answers: close, connect and the tabs refuse the pointer.
TEST_F(MainWindowTest, OnlyMinimiseAnswersClicksWhileAConnectRuns)
{
    StartBoard(true);
    ASSERT_TRUE(m_Folder.Link(JTAG_LIBRARY));
    OpenWindow();
    ASSERT_TRUE(m_pBoard->InjectFault("delay 2500 1")); // the name query's answer
    bool clicked = false;
    int tabDuringConnect = -1;
    bool visibleDuringConnect = false;
    QObject::connect(m_pForm->WelcomeMovie(), &QMovie::frameChanged, m_pForm.get(),
                     [&]
                     {
                         if (clicked || !m_pForm->IsConnecting())
                             return;
                         clicked = true;
                         Click(CLOSE_CENTRE);
                         Click(TabCentre(3));
                         Click(CONNECT_CENTRE);
                         tabDuringConnect = m_pForm->CurrentTab();
                         visibleDuringConnect = m_pForm->isVisible();
                         Click(MINI_CENTRE);
                     });
    AutoConnect();
    ASSERT_TRUE(clicked) << "the connect let no event through";
    EXPECT_TRUE(visibleDuringConnect) << "close answered";
    EXPECT_EQ(tabDuringConnect, TAB_NONE) << "a tab answered";
    EXPECT_TRUE(m_pForm->isMinimized()) << "minimise did not answer";
    ExpectConnectedOnLedTab(); // a click on Connect would have ended in a disconnect
}

TEST(ProgressDialog, AbortIsOnlyRecordedAndTheFrameCannotCloseIt)
{
    TFormProgress progress(nullptr);
    EXPECT_EQ(progress.windowTitle(), "Progress");
    EXPECT_EQ(progress.size(), QSize(348, 152));
    progress.LabelStatus->setText("left over");
    progress.ProgressBar->setValue(40);
    progress.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&progress));
    EXPECT_EQ(progress.LabelStatus->text(), "");
    EXPECT_EQ(progress.ProgressBar->value(), 0);

    progress.SetStatusText("Finish Percentage: 12%");
    progress.SetPercent(12);
    EXPECT_EQ(progress.LabelStatus->text(), "Finish Percentage: 12%");
    EXPECT_EQ(progress.ProgressBar->value(), 12);
    // Minimised and restored: the window system's show keeps the text and the bar.
    progress.setWindowState(Qt::WindowMinimized);
    progress.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(progress.LabelStatus->text(), "Finish Percentage: 12%");
    EXPECT_EQ(progress.ProgressBar->value(), 12);
    EXPECT_FALSE(progress.IsAborted());

    QTest::mouseClick(progress.ButtonAbort, Qt::LeftButton);
    QTest::mouseClick(progress.ButtonAbort, Qt::LeftButton);
    EXPECT_TRUE(progress.IsAborted());
    EXPECT_TRUE(progress.isVisible()) << "its owner closes it";

    progress.close();
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());
}
