// The main window from the keyboard alone: real key events through the window system.

#include "tests/app/MainWindowFixture.h"

#include "panels/UnitLED.h"
#include "panels/UnitSeg7.h"

#include <QAccessible>
#include <QApplication>

namespace
{

class KeyboardTest : public MainWindowTest
{
protected:
    void OpenConnected()
    {
        StartBoard(true);
        LinkEverything();
        OpenWindow();
        AutoConnect();
        ASSERT_TRUE(m_pForm->Board().IsConnected());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pForm.get()));
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_pForm->windowHandle(), key, modifiers);
    }

    // What a screen reader calls the control with the focus (a list by its caption).
    static QString FocusName()
    {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || !focus->accessibleName().isEmpty())
            return focus ? focus->accessibleName() : QString();
        return QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
    }
};

} // namespace

TEST_F(KeyboardTest, ShortcutsChooseTabsAsAClickDoesAndFocusTheirPanel)
{
    OpenConnected();
    TFormMain& form = *m_pForm;
    const struct
    {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        int Tab;
        const char* Focus; // the panel's first control, or the tab of a panel without one
    } steps[] = {
        {Qt::Key_3, Qt::ControlModifier, TAB_BUTTON, "Switches"},
        {Qt::Key_Tab, Qt::ControlModifier, TAB_MEMORY, "Memory Type"},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, TAB_BUTTON, "Switches"},
        {Qt::Key_9, Qt::ControlModifier, TAB_HSMC, "Verify"},
        {Qt::Key_Tab, Qt::ControlModifier, TAB_LED, "GLED7"},
        {Qt::Key_2, Qt::ControlModifier, TAB_SEG7, "HEX3 down"},
    };
    for (const auto& step : steps)
    {
        Key(step.Key, step.Modifiers);
        EXPECT_EQ(form.CurrentTab(), step.Tab) << step.Focus;
        EXPECT_TRUE(form.TabButtons().IsChecked(step.Tab)) << step.Focus;
        EXPECT_EQ(FocusName(), step.Focus);
        if (step.Tab == TAB_BUTTON)
        {
            EXPECT_TRUE(form.Panel(TAB_BUTTON)->IsPolling()) << "the switches are watched";
        }
    }
}

TEST_F(KeyboardTest, TabRunsThroughThePanelThenTabsConnectAndTitleBar)
{
    OpenConnected();
    Key(Qt::Key_5, Qt::ControlModifier);
    ASSERT_EQ(FocusName(), "Read");
    QStringList visited;
    for (int i = 0; i < 15; ++i)
    {
        Key(Qt::Key_Tab);
        visited << FocusName();
    }
    EXPECT_EQ(visited, (QStringList{"LED", "7-SEG", "Switches", "Memory", "SD Card", "ADC",
                                    "UART-USB", "HDMI-TX", "HSMC", "Disconnect", "About",
                                    "Minimize", "Close", "Read", "LED"}));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusName(), "Read");
}

TEST_F(KeyboardTest, SpacePressesTheFocusedLampOrArrowAsAClickDoes)
{
    OpenConnected();
    TFormMain& form = *m_pForm;
    auto& led = static_cast<TFormLED&>(*form.Panel(TAB_LED));
    Key(Qt::Key_1, Qt::ControlModifier); // on the LED tab already: focus on its first lamp
    Key(Qt::Key_Tab);
    ASSERT_EQ(FocusName(), "GLED6");
    int requests = BoardRequests();
    Key(Qt::Key_Space);
    EXPECT_EQ(BoardRequests() - requests, 1) << "one LED frame";
    EXPECT_EQ(led.LedMask(), 0x3FFBFu);
    EXPECT_FALSE(led.LedButtons().IsChecked(6));

    Key(Qt::Key_2, Qt::ControlModifier);
    auto& seg7 = static_cast<TFormSeg7&>(*form.Panel(TAB_SEG7));
    ASSERT_EQ(FocusName(), "HEX3 down");
    requests = BoardRequests();
    Key(Qt::Key_Space);
    EXPECT_EQ(seg7.DigitValues()[3], 7);
    EXPECT_EQ(BoardRequests() - requests, 1);
}

TEST_F(KeyboardTest, KeysAreRefusedWhileAConnectRuns)
{
    StartBoard(true);
    LinkEverything();
    OpenWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pForm.get()));
    TFormMain& form = *m_pForm;
    form.SysButtons().FocusWidget(ID_CONNECT)->setFocus(Qt::TabFocusReason);
    bool pressedMeanwhile = false;
    // The connect lets timers run while it waits for the board; keys come in then.
    QTimer::singleShot(0, &form,
                       [&]
                       {
                           pressedMeanwhile = form.IsConnecting();
                           Key(Qt::Key_5, Qt::ControlModifier);
                           Key(Qt::Key_Space);
                           Key(Qt::Key_F4, Qt::AltModifier);
                       });
    AutoConnect();
    EXPECT_TRUE(pressedMeanwhile);
    EXPECT_TRUE(form.isVisible()) << "Alt+F4 refused as the close button is";
    EXPECT_EQ(form.CurrentTab(), TAB_LED) << "Ctrl+5 refused, the connect selected the LED tab";
    EXPECT_TRUE(form.Board().IsConnected()) << "Space on the connect button refused";
    EXPECT_EQ(FocusName(), "Disconnect") << "the focus stayed on the button";

    Key(Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(form.isVisible()) << "Alt+F4 closes as the close button does";
}
