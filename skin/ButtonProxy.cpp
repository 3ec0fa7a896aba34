#include "skin/ButtonProxy.h"

#include "skin/ButtonManager.h"
#include "skin/CustomButton.h"
#include "skin/SkinAccessible.h"

#include <QAccessible>
#include <QKeyEvent>

namespace
{

bool IsKeyboardReason(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

bool IsPressKey(const QKeyEvent& event)
{
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const int key = event.key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TButtonProxy::TButtonProxy(QWidget* window, TButtonManager& manager, TCustomButton& button)
    : QWidget(window), m_Manager(manager), m_Button(button), m_ToldName(button.Name()),
      m_bToldChecked(button.IsChecked()), m_bToldEnabled(button.IsEnabled())
{
    InstallSkinAccessibility();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(button.Rect());
    setFocusPolicy(button.IsEnabled() ? Qt::TabFocus : Qt::NoFocus);
    show();
}

bool TButtonProxy::ShowsFocus() const
{
    // As the platform's own controls do: the focus is drawn once the keyboard has moved it.
    return hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void TButtonProxy::Sync()
{
    const QRect rect = m_Button.Rect();
    if (geometry() != rect)
        setGeometry(rect);
    // A disabled button keeps a focus it has, so that its user is not thrown elsewhere while
    // its click runs; Tab passes it by.
    setFocusPolicy(m_Button.IsEnabled() ? Qt::TabFocus : Qt::NoFocus);
    m_Button.SetFocused(ShowsFocus());

    if (m_Button.Name() != m_ToldName)
    {
        m_ToldName = m_Button.Name();
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    QAccessible::State changed;
    changed.checked = m_Button.IsChecked() != m_bToldChecked;
    changed.disabled = m_Button.IsEnabled() != m_bToldEnabled;
    if (changed.checked || changed.disabled)
    {
        m_bToldChecked = m_Button.IsChecked();
        m_bToldEnabled = m_Button.IsEnabled();
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void TButtonProxy::keyPressEvent(QKeyEvent* event)
{
    if (!IsPressKey(*event))
    {
        QWidget::keyPressEvent(event); // on to the window: its shortcuts, Tab
        return;
    }
    if (event->isAutoRepeat())
        return;
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    m_Manager.KeyPress(m_Button.ID());
}

void TButtonProxy::focusInEvent(QFocusEvent* event)
{
    if (IsKeyboardReason(event->reason()))
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
    FollowFocus();
}

void TButtonProxy::focusOutEvent(QFocusEvent*)
{
    FollowFocus();
}

void TButtonProxy::paintEvent(QPaintEvent*)
{
    // The window draws the button.
}

void TButtonProxy::FollowFocus()
{
    m_Manager.Refresh(m_Button);
}
