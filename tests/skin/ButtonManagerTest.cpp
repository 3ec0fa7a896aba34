#include "skin/ButtonManager.h"
#include "skin/AppCursor.h"
#include "skin/BitmapManager.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{

// TEST_BTN is 30 x 48: rows of 12 in these colours.
const QRgb ROW_COLOUR[] = {qRgb(0, 0, 80), qRgb(40, 40, 40), qRgb(0, 90, 0), qRgb(90, 0, 0)};
const QRgb ROW2_NORMAL = qRgb(80, 80, 0);
// Its twin at 2x is 60 x 96, rows of 24 in colours of their own.
const QRgb TWIN_ROW_COLOUR[] = {qRgb(0, 0, 160), qRgb(80, 80, 80), qRgb(0, 180, 0),
                                qRgb(180, 0, 0)};
const QRgb BACKGROUND = qRgb(10, 20, 30);
const int BUTTON_W = 30;
const int BUTTON_H = 12;

// Three buttons in a row with no gap (ids 1, 2, 3 at x 5, 35, 65; y 10).
const int TOP = 10;
int LeftOf(int index)
{
    return 5 + index * BUTTON_W;
}
QPoint Inside(int index)
{
    return QPoint(LeftOf(index) + 4, TOP + 4);
}

// A skinned window as the program's windows are: background, buttons, forwarded pointer events.
class TTestWindow : public QWidget
{
public:
    TTestWindow(TButtonMode mode, const QStringList& captions = {}) : m_Buttons(this, mode)
    {
        m_Bitmaps.AddBitmap(0, "TEST_BK", false);
        setFixedSize(m_Bitmaps.GetBitmapSize(0));
        setMouseTracking(true);
        for (int i = 0; i < 3; ++i)
        {
            m_Buttons.AddButton(i + 1, captions.value(i), TOP, LeftOf(i), "TEST_BTN");
        }
    }

    TButtonManager& Buttons() { return m_Buttons; }
    QList<int32_t> Released;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_Bitmaps.DrawBitmap(0, 0, 0, painter);
        m_Buttons.PaintAll(painter);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        m_Buttons.MouseDown(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        m_Buttons.MouseMove(e->position().toPoint().x(), e->position().toPoint().y(), true);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        Released << m_Buttons.MouseUp(e->position().toPoint().x(), e->position().toPoint().y());
    }

private:
    TBitmapManager m_Bitmaps;
    TButtonManager m_Buttons;
};

class ButtonManagerTest : public ::testing::Test
{
protected:
    void Open(TButtonMode mode, const QStringList& captions = {})
    {
        if (m_pWindow)
        {
            MoveTo(QPoint(m_pWindow->width() - 1, m_pWindow->height() - 1));
        }
        m_pWindow = std::make_unique<TTestWindow>(mode, captions);
        m_pWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pWindow.get()));
    }
    void TearDown() override
    {
        // Qt drops a move to the point it last saw, so leave the pointer where no test goes.
        MoveTo(QPoint(m_pWindow->width() - 1, m_pWindow->height() - 1));
        m_pWindow.reset();
        SetAppCursor(Qt::ArrowCursor);
    }

    // Real pointer events through the window system, so grabs and routing apply.
    QWindow* Handle() { return m_pWindow->windowHandle(); }
    void MoveTo(QPoint p) { QTest::mouseMove(Handle(), p); }
    void Press(QPoint p) { QTest::mousePress(Handle(), Qt::LeftButton, {}, p); }
    void Release(QPoint p) { QTest::mouseRelease(Handle(), Qt::LeftButton, {}, p); }
    void Click(QPoint p)
    {
        MoveTo(p);
        Press(p);
        Release(p);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Handle(), key, modifiers);
    }

    // White pixels of the focus outline, one pixel inside the button's top edge.
    int OutlineInk(int index)
    {
        const QImage shot = m_pWindow->grab().toImage();
        int ink = 0;
        for (int x = LeftOf(index) + 1; x < LeftOf(index) + BUTTON_W - 1; ++x)
            ink += shot.pixel(x, TOP + 1) == qRgb(255, 255, 255) ? 1 : 0;
        return ink;
    }

    // The row a button shows, read from a corner pixel of what the window paints.
    int ShownRow(int index)
    {
        const QImage shot = m_pWindow->grab().toImage();
        const QRgb corner = shot.pixel(LeftOf(index), TOP);
        for (int row = 0; row < 4; ++row)
        {
            if (corner == ROW_COLOUR[row])
            {
                return row;
            }
        }
        return -1;
    }

    // Counts caption pixels in a button by the colour family they fall in.
    struct TCaptionInk
    {
        int cyan = 0, white = 0, grey = 0;
    };
    TCaptionInk CaptionInk(int index)
    {
        const QImage shot = m_pWindow->grab().toImage();
        TCaptionInk ink;
        for (int y = TOP; y < TOP + BUTTON_H; ++y)
        {
            for (int x = LeftOf(index); x < LeftOf(index) + BUTTON_W; ++x)
            {
                const QColor c = shot.pixelColor(x, y);
                if (c.red() < 60 && c.green() > 150 && c.blue() > 170)
                    ++ink.cyan;
                else if (c.red() > 190 && c.green() > 190 && c.blue() > 190)
                    ++ink.white;
                else if (c.red() > 110 && c.red() < 170 && c.red() == c.green() &&
                         c.green() == c.blue())
                    ++ink.grey;
            }
        }
        return ink;
    }

    std::unique_ptr<TTestWindow> m_pWindow;
};

} // namespace

TEST_F(ButtonManagerTest, RadioReleaseLeavesExactlyThatButtonChecked)
{
    Open(bmRadio);
    TButtonManager& buttons = m_pWindow->Buttons();
    Click(Inside(1));
    Click(Inside(2));
    Click(Inside(2));
    EXPECT_EQ(m_pWindow->Released, (QList<int32_t>{2, 3, 3}));
    EXPECT_FALSE(buttons.IsChecked(1));
    EXPECT_FALSE(buttons.IsChecked(2));
    EXPECT_TRUE(buttons.IsChecked(3)) << "releasing on the checked button keeps it checked";
    EXPECT_EQ(ShownRow(2), 0) << "a checked button keeps its resting image";
}

TEST_F(ButtonManagerTest, ToggleFlipsAndPushLeavesCheckedFlags)
{
    Open(bmToggle);
    TButtonManager& toggles = m_pWindow->Buttons();
    Click(Inside(0));
    EXPECT_TRUE(toggles.IsChecked(1));
    EXPECT_FALSE(toggles.IsChecked(2));
    Click(Inside(0));
    EXPECT_FALSE(toggles.IsChecked(1)) << "two releases return to the first state";

    Open(bmPush);
    TButtonManager& pushes = m_pWindow->Buttons();
    pushes.SetChecked(2, true);
    Click(Inside(0));
    Click(Inside(1));
    EXPECT_EQ(m_pWindow->Released, (QList<int32_t>{1, 2}));
    EXPECT_FALSE(pushes.IsChecked(1));
    EXPECT_TRUE(pushes.IsChecked(2));
}

TEST_F(ButtonManagerTest, ReleaseOffEveryButtonReportsNothingAndChangesNoFlag)
{
    Open(bmRadio);
    TButtonManager& buttons = m_pWindow->Buttons();
    buttons.SetChecked(1, true);
    MoveTo(Inside(1));
    Press(Inside(1));
    EXPECT_EQ(ShownRow(1), 3);
    MoveTo(QPoint(50, 40));
    Release(QPoint(50, 40));
    EXPECT_EQ(m_pWindow->Released, (QList<int32_t>{NO_BUTTON_ID}));
    EXPECT_TRUE(buttons.IsChecked(1));
    EXPECT_FALSE(buttons.IsChecked(2));
    EXPECT_FALSE(buttons.IsPressed());
    EXPECT_EQ(ShownRow(1), 0);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ButtonManagerTest, ReleaseReportsTheButtonUnderThePointerNotTheOnePressed)
{
    Open(bmRadio);
    MoveTo(Inside(0));
    Press(Inside(0));
    MoveTo(Inside(2));
    EXPECT_EQ(ShownRow(2), 3) << "moving with the button down shows the pressed row";
    EXPECT_EQ(ShownRow(0), 0);
    Release(Inside(2));
    EXPECT_EQ(m_pWindow->Released, (QList<int32_t>{3}));
    EXPECT_TRUE(m_pWindow->Buttons().IsChecked(3));
    EXPECT_FALSE(m_pWindow->Buttons().IsChecked(1));
}

TEST_F(ButtonManagerTest, HoverMovesBetweenNeighboursAndLetsGoOffThem)
{
    Open(bmPush);
    TButtonManager& buttons = m_pWindow->Buttons();
    MoveTo(Inside(0));
    EXPECT_EQ(buttons.HotID(), 1);
    EXPECT_EQ(ShownRow(0), 2);
    EXPECT_EQ(AppCursor(), Qt::PointingHandCursor);
    EXPECT_EQ(QWidget::mouseGrabber(), m_pWindow.get()) << "pointer captured over a button";

    MoveTo(QPoint(LeftOf(1), TOP)); // first pixel of the neighbour
    EXPECT_EQ(buttons.HotID(), 2);
    EXPECT_EQ(ShownRow(0), 0) << "the previous button returns to its resting look";
    EXPECT_EQ(ShownRow(1), 2);

    MoveTo(QPoint(50, 40));
    EXPECT_EQ(buttons.HotID(), NO_BUTTON_ID);
    EXPECT_EQ(ShownRow(1), 0);
    EXPECT_EQ(AppCursor(), Qt::ArrowCursor);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(m_pWindow->grab().toImage().pixel(50, 40), BACKGROUND);
}

TEST_F(ButtonManagerTest, RightAndBottomEdgesAreOutside)
{
    Open(bmPush);
    TButtonManager& buttons = m_pWindow->Buttons();
    const int right = LeftOf(2) + BUTTON_W; // last button, nothing to its right
    const int bottom = TOP + BUTTON_H;
    EXPECT_TRUE(buttons.HitTest(LeftOf(2), TOP));
    EXPECT_TRUE(buttons.HitTest(right - 1, bottom - 1));
    EXPECT_FALSE(buttons.HitTest(right, TOP + 1));
    EXPECT_FALSE(buttons.HitTest(right - 1, bottom));
    EXPECT_FALSE(buttons.HitTest(LeftOf(0) - 1, TOP));
    EXPECT_EQ(buttons.ButtonAt(LeftOf(1), TOP)->ID(), 2)
        << "a shared edge belongs to the right one";
    Click(QPoint(right - 1, bottom));
    EXPECT_EQ(m_pWindow->Released, (QList<int32_t>{NO_BUTTON_ID}));
}

TEST_F(ButtonManagerTest, DisabledButtonIsDrawnFromRowOneGreyAndNeverHit)
{
    Open(bmRadio, {"A", "B", "C"});
    TButtonManager& buttons = m_pWindow->Buttons();
    buttons.SetEnabled(2, false);
    EXPECT_EQ(ShownRow(1), 1);
    EXPECT_GT(CaptionInk(1).grey, 0);
    EXPECT_EQ(CaptionInk(1).white, 0);
    EXPECT_FALSE(buttons.HitTest(Inside(1).x(), Inside(1).y()));

    MoveTo(Inside(1));
    EXPECT_EQ(buttons.HotID(), NO_BUTTON_ID);
    EXPECT_EQ(ShownRow(1), 1) << "no hover look on a disabled button";
    Press(Inside(1));
    EXPECT_FALSE(buttons.IsPressed());
    Release(Inside(1));
    EXPECT_EQ(m_pWindow->Released, (QList<int32_t>{NO_BUTTON_ID}));
    EXPECT_FALSE(buttons.IsChecked(2));

    buttons.SetEnabled(2, true);
    EXPECT_EQ(ShownRow(1), 0);
    EXPECT_TRUE(buttons.HitTest(Inside(1).x(), Inside(1).y()));
}

TEST_F(ButtonManagerTest, CaptionColourFollowsCheckedAndPressed)
{
    Open(bmRadio, {"X", "Y", ""});
    TButtonManager& buttons = m_pWindow->Buttons();
    EXPECT_GT(CaptionInk(0).white, 0);
    EXPECT_EQ(CaptionInk(0).cyan, 0);

    buttons.SetChecked(1, true);
    EXPECT_GT(CaptionInk(0).cyan, 0);
    EXPECT_EQ(CaptionInk(0).white, 0);

    MoveTo(Inside(1));
    Press(Inside(1));
    EXPECT_GT(CaptionInk(1).cyan, 0) << "pressed caption is highlighted";
    Release(Inside(1));

    const QImage shot = m_pWindow->grab().toImage();
    for (int y = TOP; y < TOP + BUTTON_H; ++y)
    {
        for (int x = LeftOf(2); x < LeftOf(2) + BUTTON_W; ++x)
        {
            ASSERT_EQ(shot.pixel(x, y), ROW_COLOUR[0]) << "an empty caption draws only the image";
        }
    }
}

TEST_F(ButtonManagerTest, IdOperationsChangeOnlyTheirButtonAndIgnoreUnknownIds)
{
    Open(bmPush);
    TButtonManager& buttons = m_pWindow->Buttons();
    const QImage before = m_pWindow->grab().toImage();
    buttons.SetEnabled(99, false);
    buttons.SetChecked(99, true);
    buttons.SetCaption(99, "x");
    buttons.SetBitmap(99, "TEST_BTN2");
    buttons.RedrawButton(99);
    EXPECT_FALSE(buttons.IsChecked(99));
    EXPECT_FALSE(buttons.IsEnabled(99));
    EXPECT_EQ(buttons.FindButton(99), nullptr);
    EXPECT_EQ(m_pWindow->grab().toImage(), before);

    buttons.SetBitmap(3, "TEST_BTN2");
    EXPECT_EQ(m_pWindow->grab().toImage().pixel(LeftOf(2), TOP), ROW2_NORMAL);
    buttons.SetBitmap(3, "NO_SUCH_STRIP");
    EXPECT_EQ(m_pWindow->grab().toImage().pixel(LeftOf(2), TOP), ROW2_NORMAL) << "old strip stays";
    EXPECT_FALSE(buttons.AddButton(4, "", 0, 0, "NO_SUCH_STRIP"));
    EXPECT_EQ(buttons.Count(), 3);
}

TEST_F(ButtonManagerTest, KeysReachEnabledButtonsAndPressThemAsAClickDoes)
{
    Open(bmToggle);
    TButtonManager& buttons = m_pWindow->Buttons();
    buttons.SetEnabled(2, false);
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pWindow.get()));
    buttons.FocusWidget(1)->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(ShownRow(0), 0) << "a focus the keyboard did not move is not drawn";
    EXPECT_EQ(OutlineInk(0), 0);

    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), buttons.FocusWidget(3)) << "Tab passes a disabled one";
    EXPECT_EQ(ShownRow(2), 2) << "the focused button shows its hover row";
    EXPECT_GT(OutlineInk(2), 0) << "and a focus outline";
    EXPECT_EQ(ShownRow(0), 0);

    const struct
    {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        bool Checked;
    } presses[] = {{Qt::Key_Space, Qt::NoModifier, true},
                   {Qt::Key_Return, Qt::NoModifier, false},
                   {Qt::Key_Enter, Qt::KeypadModifier, true}};
    for (const auto& press : presses)
    {
        Key(press.Key, press.Modifiers);
        EXPECT_EQ(m_pWindow->Released.back(), 3) << press.Key;
        EXPECT_EQ(buttons.IsChecked(3), press.Checked) << press.Key;
    }
    Key(Qt::Key_A);
    EXPECT_EQ(m_pWindow->Released.size(), 3) << "other keys press nothing";
    EXPECT_FALSE(buttons.KeyPress(2)) << "a disabled button refuses the key as it does a click";
    EXPECT_EQ(m_pWindow->Released.size(), 3);
    EXPECT_EQ(ShownRow(2), 2) << "still focused after its click";
}

TEST_F(ButtonManagerTest, AssistiveTechnologySeesEachButtonByModeNameAndState)
{
    const struct
    {
        TButtonMode Mode;
        QAccessible::Role Role;
        bool Checkable;
        QString Action;
        bool CheckedByAction;
    } modes[] = {
        {bmRadio, QAccessible::PageTab, true, QAccessibleActionInterface::pressAction(), true},
        {bmToggle, QAccessible::Button, true, QAccessibleActionInterface::toggleAction(), true},
        {bmPush, QAccessible::Button, false, QAccessibleActionInterface::pressAction(), false},
    };
    for (const auto& mode : modes)
    {
        Open(mode.Mode, {"A", "", "C"});
        TButtonManager& buttons = m_pWindow->Buttons();
        buttons.SetName(2, "Middle");
        buttons.SetEnabled(3, false);
        const auto seen = [&](int32_t id)
        { return QAccessible::queryAccessibleInterface(buttons.FocusWidget(id)); };
        EXPECT_EQ(seen(1)->role(), mode.Role);
        EXPECT_EQ(seen(1)->text(QAccessible::Name), "A");
        EXPECT_EQ(seen(2)->text(QAccessible::Name), "Middle");
        EXPECT_EQ(seen(1)->state().checkable, mode.Checkable);
        EXPECT_TRUE(seen(3)->state().disabled);
        EXPECT_TRUE(seen(3)->actionInterface()->actionNames().isEmpty());
        EXPECT_EQ(seen(1)->actionInterface()->actionNames(), QStringList{mode.Action});

        seen(1)->actionInterface()->doAction(mode.Action);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_pWindow->Released, (QList<int32_t>{1})) << "pressed as a click is";
        EXPECT_EQ(seen(1)->state().checked, mode.CheckedByAction);
    }
}

TEST(ButtonDensity, OnAScreenOfRatioTwoARowComesFromTheTwinAtTheLayoutPlace)
{
    TButtonManager buttons(nullptr, bmPush);
    ASSERT_TRUE(buttons.AddButton(1, "", TOP, 5, "TEST_BTN"));
    buttons.SetEnabled(1, false);
    QImage canvas(2 * 110, 2 * 50, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(2);
    canvas.fill(BACKGROUND);
    {
        QPainter painter(&canvas);
        buttons.PaintAll(painter);
    }
    for (int y = 2 * TOP - 1; y <= 2 * (TOP + BUTTON_H); ++y)
    {
        for (int x = 2 * 5 - 1; x <= 2 * (5 + BUTTON_W); ++x)
        {
            const bool inside =
                y >= 2 * TOP && y < 2 * (TOP + BUTTON_H) && x >= 2 * 5 && x < 2 * (5 + BUTTON_W);
            ASSERT_EQ(canvas.pixel(x, y), inside ? TWIN_ROW_COLOUR[1] : BACKGROUND)
                << x << "," << y;
        }
    }
}
