// What a screen reader finds in the main window through Qt's accessibility: every control
// by name, with its role and state, and the actions it offers.

#include "tests/app/MainWindowFixture.h"

#include "panels/UnitButton.h"

#include <QAccessible>

namespace
{

// Every object under root, depth first, hidden ones included.
std::vector<QAccessibleInterface*> Tree(QObject* root)
{
    std::vector<QAccessibleInterface*> all;
    std::vector<QAccessibleInterface*> todo{QAccessible::queryAccessibleInterface(root)};
    while (!todo.empty())
    {
        QAccessibleInterface* node = todo.front();
        todo.erase(todo.begin());
        all.push_back(node);
        for (int i = node->childCount() - 1; i >= 0; --i)
            todo.insert(todo.begin(), node->child(i));
    }
    return all;
}

QStringList Names(const std::vector<QAccessibleInterface*>& nodes, QAccessible::Role role,
                  bool showingOnly = true)
{
    QStringList names;
    for (QAccessibleInterface* node : nodes)
    {
        if (node->role() == role && (!showingOnly || !node->state().invisible))
            names << node->text(QAccessible::Name);
    }
    return names;
}

QAccessibleInterface* Find(const std::vector<QAccessibleInterface*>& nodes, const QString& name)
{
    for (QAccessibleInterface* node : nodes)
    {
        if (node->text(QAccessible::Name) == name && !node->state().invisible)
            return node;
    }
    return nullptr;
}

using AccessibilityTest = MainWindowTest;

} // namespace

TEST_F(AccessibilityTest, ScreenReadersFindEveryControlByNameAndState)
{
    StartBoard(true);
    LinkEverything();
    OpenWindow();
    AutoConnect();
    TFormMain& form = *m_pForm;
    std::vector<QAccessibleInterface*> window = Tree(&form);

    EXPECT_EQ(Names(window, QAccessible::PageTab),
              (QStringList{"LED", "7-SEG", "Switches", "Memory", "SD Card", "ADC", "UART-USB",
                           "HDMI-TX", "HSMC"}));
    EXPECT_TRUE(Find(window, "LED")->state().checked);
    EXPECT_FALSE(Find(window, "ADC")->state().checked);
    const QStringList buttons = Names(window, QAccessible::Button);
    for (const char* name : {"Close", "Minimize", "About", "Disconnect"})
        EXPECT_TRUE(buttons.contains(name)) << name;

    // The lamps: toggle buttons whose checked state follows the lamp, toggled by their action.
    QStringList lamps;
    for (int i = 0; i < 8; ++i)
        lamps << QStringLiteral("GLED%1").arg(i);
    for (int j = 0; j < 10; ++j)
        lamps << QStringLiteral("RLED%1").arg(j);
    std::vector<QAccessibleInterface*> led = Tree(form.Panel(TAB_LED));
    QStringList checkedLamps;
    for (QAccessibleInterface* node : led)
    {
        if (node->state().checkable && node->state().checked)
            checkedLamps << node->text(QAccessible::Name);
    }
    std::sort(checkedLamps.begin(), checkedLamps.end());
    std::sort(lamps.begin(), lamps.end());
    EXPECT_EQ(checkedLamps, lamps) << "every lamp lit";
    QAccessibleInterface* rled3 = Find(led, "RLED3");
    rled3->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
    EXPECT_FALSE(rled3->state().checked);

    // Fields and boxes by their captions, on a panel not shown yet.
    const std::vector<QAccessibleInterface*> memory = Tree(form.Panel(TAB_MEMORY));
    EXPECT_EQ(Names(memory, QAccessible::EditableText, false),
              (QStringList{"Address", "wDATA", "rDATA", "Address", "Length", "Address", "Length"}));
    EXPECT_EQ(Names(memory, QAccessible::CheckBox, false),
              (QStringList{"File Length", "Entire Memory"}));

    // What the pictures show, as text; the information line as a status bar.
    EXPECT_TRUE(m_pBoard->Command("key 2 down"));
    EXPECT_TRUE(m_pBoard->Command("switch 9 on"));
    Find(window, "Switches")
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    ASSERT_EQ(form.CurrentTab(), TAB_BUTTON);
    QTest::qWait(3 * BUTTON_POLL_MS);
    const QStringList shown = Names(Tree(form.Panel(TAB_BUTTON)), QAccessible::StaticText);
    EXPECT_TRUE(shown.contains("KEY2 pressed") && shown.contains("KEY1 released"))
        << shown.join(',').toStdString();
    EXPECT_TRUE(shown.contains("SW9 on") && shown.contains("SW0 off"));
    EXPECT_TRUE(
        Names(Tree(form.Panel(TAB_SEG7)), QAccessible::StaticText, false).contains("HEX3 8"));
    EXPECT_EQ(Names(window, QAccessible::StatusBar),
              QStringList{QString::fromLatin1(TEXT_MONITOR_INPUTS)});
}
