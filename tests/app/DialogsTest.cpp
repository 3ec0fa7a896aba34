#include "app/Application.h"
#include "app/SingleInstance.h"
#include "app/UnitAbout.h"
#include "app/UnitMain.h"
#include "panels/UnitProgress.h"
#include "skin/ButtonManager.h"
#include "tests/support/RecordingHost.h"
#include "tests/app/MainWindowFixture.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

const QPoint ABOUT_CLOSE_CENTRE(118 + 32, 277 + 8);

} // namespace

TEST(SingleInstance, SecondStartSaysSoAndOpensNoWindow)
{
    TSingleInstance first;
    ASSERT_TRUE(first.Acquire());
    TRecordingHost host(QString{});
    EXPECT_EQ(RunControlPanel(host), 0);
    EXPECT_EQ(host.Messages,
              (std::vector<TRecordingHost::TMessage>{{THost::mkInformation, "The application is running."}}));
    for (QWidget* widget : QApplication::topLevelWidgets())
    {
        EXPECT_EQ(qobject_cast<TFormMain*>(widget), nullptr);
    }
    TSingleInstance meanwhile;
    EXPECT_FALSE(meanwhile.Acquire());
}

TEST(SingleInstance, LockIsFreeAgainOnceTheFirstEnds)
{
    {
        TSingleInstance first;
        ASSERT_TRUE(first.Acquire());
    }
    TSingleInstance next;
    EXPECT_TRUE(next.Acquire());
    EXPECT_TRUE(TSingleInstance::LockPath().endsWith("KELVARO_TQR_480_CONTROL_PANEL.lock"));
}

TEST(AboutBox, ClosesOnlyOnAReleaseOverItsCloseButton)
{
    TFormAbout about(nullptr);
    EXPECT_EQ(about.windowTitle(), "About Control Panel");
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
    QObject::connect(&answer, &QTimer::timeout, [&] {
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
    EXPECT_FALSE(progress.IsAborted());

    QTest::mouseClick(progress.ButtonAbort, Qt::LeftButton);
    QTest::mouseClick(progress.ButtonAbort, Qt::LeftButton);
    EXPECT_TRUE(progress.IsAborted());
    EXPECT_TRUE(progress.isVisible()) << "its owner closes it";

    progress.close();
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());
}
