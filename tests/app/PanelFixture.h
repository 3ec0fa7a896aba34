#pragma once

// One peripheral panel on its own, offscreen, over a real link to a virtual board: real
// pointer events at the panel's coordinates, the failures and information texts it reports.

#include "MainWindowFixture.h"

#include "board/Board.h"

#include <QEvent>
#include <QImage>
#include <regex>

struct TInfoLine
{
    QString Text;
    TInfoColour Colour;
    bool operator==(const TInfoLine&) const = default;
};

template <class TPanel> class PanelTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        StartBoard(true);
        LinkEverything();
        m_pHost = std::make_unique<TRecordingHost>(m_Folder.Path());
        m_pLinkBoard = std::make_unique<TBoard>(*m_pHost);
        QString error;
        ASSERT_TRUE(m_pLinkBoard->Connect(error, 0)) << error.toStdString();
        m_pPanel = std::make_unique<TPanel>(nullptr, *m_pHost);
        m_pPanel->OnLinkFailure = [this](TFormPanel* sender)
        {
            EXPECT_EQ(sender, m_pPanel.get());
            ++m_LinkFailures;
        };
        m_pPanel->OnShowInfo = [this](const QString& text, TInfoColour colour) {
            m_Info.push_back({text, colour});
        };
        m_pPanel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pPanel.get()));
    }

    void TearDown() override
    {
        m_pPanel.reset();
        m_pLinkBoard.reset();
        MainWindowTest::TearDown();
    }

    void Attach() { m_pPanel->AttachBoard(m_pLinkBoard.get()); }

    QWindow* Window() const { return m_pPanel->windowHandle(); }
    // Pressed at one point and released at another, the pointer moving between, as a hand does.
    void Drag(QPoint from, QPoint to)
    {
        QTest::mouseMove(Window(), from);
        QTest::mousePress(Window(), Qt::LeftButton, {}, from);
        QTest::mouseMove(Window(), to);
        QTest::mouseRelease(Window(), Qt::LeftButton, {}, to);
    }
    void Click(QPoint at) { Drag(at, at); }

    // Requests the virtual board has answered so far.
    long Requests()
    {
        const std::string status = BoardStatus();
        std::smatch match;
        EXPECT_TRUE(std::regex_search(status, match, std::regex("requests=([0-9]+)"))) << status;
        return match.empty() ? -1 : std::stol(match[1]);
    }

    // What the panel shows, as a picture.
    QImage Picture() const { return m_pPanel->grab().toImage(); }

    std::unique_ptr<TBoard> m_pLinkBoard;
    std::unique_ptr<TPanel> m_pPanel;
    int m_LinkFailures = 0;
    std::vector<TInfoLine> m_Info;
};

// Counts the paint events a widget receives.
class TPaintCounter : public QObject
{
public:
    explicit TPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};
