#pragma once

#include "app/Gauge.h"
#include "app/Shape.h"
#include "app/UnitMain.h"
#include "panels/FormPanel.h"
#include "skin/ButtonManager.h"
#include "skin/SkinColours.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/VirtualBoardProcess.h"

#include <QDir>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

// Client points of the main window's buttons.
inline QPoint TabCentre(int tab)
{
    const int column = tab / 5;
    return QPoint(8 + column * 98 + 46, 289 + (tab % 5) * 45 + 19);
}
inline const QPoint CONNECT_CENTRE(124 + 39, 510 + 38);
inline const QPoint CLOSE_CENTRE(559 + 18, 19 + 6);
inline const QPoint ABOUT_CENTRE(481 + 18, 19 + 6);
inline const QPoint NEUTRAL_POINT(300, 20); // on the picture, no button
inline constexpr int CONTROL_LINE_BYTES = 0x10000; // most memory bytes one control line moves

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline QColor TextColour(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

// A main window on a program folder the test fills, against a virtual board of its own.
class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest() : m_QuartusRoot(QString::fromStdString(hx9test::QuartusRoot())) {}

    void TearDown() override
    {
        m_pForm.reset();
        QDir::setCurrent(m_StartFolder);
    }

    // Starts the board, blank or holding the image; KELVARO_JTAG_SERVER then points at it.
    void StartBoard(bool programmed)
    {
        hx9test::TVirtualBoardProcess::TOptions options;
        options.Programmed = programmed;
        m_pBoard = std::make_unique<hx9test::TVirtualBoardProcess>(options);
        ASSERT_TRUE(m_pBoard->Start()) << m_pBoard->LastError();
    }

    // A folder with everything the program looks for.
    void LinkEverything()
    {
        ASSERT_TRUE(m_Folder.Link(JTAG_LIBRARY));
        ASSERT_TRUE(m_Folder.Link(DOWNLOAD_LIBRARY));
        ASSERT_TRUE(m_Folder.Link(IMAGE_FILE));
    }

    // The window, shown, with its start-up timer held back so the test decides when to connect.
    void OpenWindow()
    {
        m_pHost = std::make_unique<TRecordingHost>(m_Folder.Path());
        m_pForm = std::make_unique<TFormMain>(*m_pHost);
        m_pForm->TimerRun->stop();
        m_pForm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pForm.get()));
    }

    // What the start-up timer does when it fires, run to its end.
    void AutoConnect()
    {
        m_pForm->TimerRunTimer();
        QCoreApplication::sendPostedEvents(m_pForm.get(), WM_AUTOCONNECT);
    }

    // Real pointer events through the window system.
    void MoveTo(QPoint at) { QTest::mouseMove(m_pForm->windowHandle(), at); }
    void Click(QPoint at)
    {
        MoveTo(NEUTRAL_POINT);
        MoveTo(at);
        QTest::mousePress(m_pForm->windowHandle(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(m_pForm->windowHandle(), Qt::LeftButton, {}, at);
    }

    bool IsShown(const QWidget* widget) const { return !widget->isHidden(); }

    bool TabsEnabled(bool enabled) const
    {
        for (int tab = 0; tab < TAB_COUNT; ++tab)
        {
            if (m_pForm->TabButtons().IsEnabled(tab) != enabled)
            {
                return false;
            }
        }
        return true;
    }

    std::vector<TShape*> ShownOutlines() const
    {
        std::vector<TShape*> shown;
        for (TShape* shape : m_pForm->findChildren<TShape*>())
        {
            if (IsShown(shape))
            {
                shown.push_back(shape);
            }
        }
        return shown;
    }

    QString ConnectStrip() const
    {
        return m_pForm->SysButtons().FindButton(ID_CONNECT)->BitmapName();
    }

    void ExpectConnectedOnLedTab()
    {
        TFormMain& form = *m_pForm;
        EXPECT_EQ(form.LabelConnectStatus->text(), "Connected");
        EXPECT_EQ(TextColour(form.LabelConnectStatus), QColor(INFO_GREEN));
        EXPECT_TRUE(form.Board().IsConnected());
        EXPECT_EQ(form.ButtonConnect->text(), "Disconnect");
        EXPECT_EQ(ConnectStrip(), "DISCONNECT_BTN");
        EXPECT_TRUE(form.SysButtons().IsEnabled(ID_CONNECT));
        EXPECT_TRUE(form.SysButtons().IsEnabled(ID_CLOSE));
        EXPECT_TRUE(TabsEnabled(true));
        EXPECT_TRUE(form.TabButtons().IsChecked(0));
        EXPECT_EQ(form.CurrentTab(), 0);
        EXPECT_TRUE(IsShown(form.Panel(0)));
        EXPECT_EQ(form.Panel(0)->Board(), &form.Board());
        EXPECT_FALSE(IsShown(form.AnimateWelcome));
        EXPECT_EQ(form.LabelInfo->text(), "");
        EXPECT_FALSE(IsShown(form.ImageInfo));
        EXPECT_FALSE(IsShown(form.CGaugeConfig));
        EXPECT_EQ(ShownOutlines(), std::vector<TShape*>{form.ShapeLed});
        EXPECT_FALSE(form.IsConnecting());
    }

    void ExpectFailedConnect(const QString& info)
    {
        TFormMain& form = *m_pForm;
        EXPECT_EQ(form.LabelConnectStatus->text(), "Disconnected");
        EXPECT_EQ(TextColour(form.LabelConnectStatus), QColor(INFO_RED));
        EXPECT_FALSE(form.Board().IsConnected());
        EXPECT_EQ(form.LabelInfo->text(), info);
        EXPECT_EQ(TextColour(form.LabelInfo), QColor(INFO_RED));
        EXPECT_EQ(form.ButtonConnect->text(), "Connect");
        EXPECT_EQ(ConnectStrip(), "CONNECT_BTN");
        EXPECT_TRUE(form.ButtonConnect->isEnabled());
        EXPECT_TRUE(form.SysButtons().IsEnabled(ID_CONNECT));
        EXPECT_TRUE(form.SysButtons().IsEnabled(ID_CLOSE));
        EXPECT_TRUE(TabsEnabled(true));
        EXPECT_EQ(form.CurrentTab(), TAB_NONE);
        EXPECT_TRUE(IsShown(form.AnimateWelcome));
        EXPECT_NE(form.WelcomeMovie()->state(), QMovie::Running) << "the clip stands still";
        EXPECT_FALSE(IsShown(form.CGaugeConfig));
    }

    std::string BoardStatus() { return m_pBoard->Control("status"); }

    QString Info() const { return m_pForm->LabelInfo->text(); }

    // The info line: this text, or up to the elapsed time when it ends in '(' or '['.
    void ExpectInfo(const QString& text, QRgb colour)
    {
        const bool timed = text.endsWith('(') || text.endsWith('[');
        EXPECT_TRUE(timed ? Info().startsWith(text) : Info() == text) << Info().toStdString();
        EXPECT_EQ(TextColour(m_pForm->LabelInfo), QColor(colour)) << text.toStdString();
    }

    // Requests the virtual board has answered so far.
    int BoardRequests()
    {
        const std::string status = BoardStatus();
        return std::stoi(status.substr(status.find("requests=") + 9));
    }

    // The board's memory of a type ("sram", "lpddr2") through its control port.
    QByteArray BoardMemory(const char* type, int address, int count)
    {
        QByteArray bytes;
        for (int at = address; at < address + count; at += CONTROL_LINE_BYTES)
        {
            std::string hex;
            const int n = std::min(CONTROL_LINE_BYTES, address + count - at);
            EXPECT_TRUE(m_pBoard->Command(
                QString::asprintf("mem read %s %d %d", type, at, n).toStdString(), &hex));
            bytes += QByteArray::fromHex(QByteArray::fromStdString(hex));
        }
        return bytes;
    }
    void SetBoardMemory(const char* type, int address, const QByteArray& bytes)
    {
        for (int done = 0; done < bytes.size(); done += CONTROL_LINE_BYTES)
        {
            const QByteArray hex = bytes.mid(done, CONTROL_LINE_BYTES).toHex();
            ASSERT_TRUE(m_pBoard->Command(
                QString::asprintf("mem write %s %d %s", type, address + done, hex.constData())
                    .toStdString()));
        }
    }

    QString m_StartFolder = QDir::currentPath();
    TQuartusRoot m_QuartusRoot;
    TProgramFolder m_Folder;
    std::unique_ptr<hx9test::TVirtualBoardProcess> m_pBoard;
    std::unique_ptr<TRecordingHost> m_pHost;
    std::unique_ptr<TFormMain> m_pForm;
};
