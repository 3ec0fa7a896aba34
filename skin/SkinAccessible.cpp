#include "skin/SkinAccessible.h"

#include "skin/ButtonManager.h"
#include "skin/ButtonProxy.h"
#include "skin/StatusLabel.h"

#include <QAccessibleWidget>

namespace
{

QAccessible::Role RoleOf(TButtonMode mode)
{
    return mode == bmRadio ? QAccessible::PageTab : QAccessible::Button;
}

// A skinned button as assistive technology sees it; the proxy stands where the button is.
class TButtonAccessible : public QAccessibleWidget
{
public:
    explicit TButtonAccessible(TButtonProxy* proxy)
        : QAccessibleWidget(proxy, RoleOf(proxy->Manager().Mode()))
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return Button().Name();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.disabled = !Button().IsEnabled();
        switch (Proxy().Manager().Mode())
        {
        case bmRadio:
            state.checkable = true;
            state.checked = Button().IsChecked();
            state.selectable = true;
            state.selected = Button().IsChecked();
            break;
        case bmToggle:
            state.checkable = true;
            state.checked = Button().IsChecked();
            break;
        case bmPush:
            break;
        }
        return state;
    }

    QStringList actionNames() const override
    {
        if (!Button().IsEnabled())
            return {};
        if (Proxy().Manager().Mode() == bmToggle)
            return {toggleAction()};
        return {pressAction()};
    }

    // Run from the event loop, as a key press would be, not inside the caller's request: a
    // click may open a modal box or talk to the board for seconds.
    void doAction(const QString& action) override
    {
        if (!actionNames().contains(action))
            return;
        TButtonProxy* proxy = &Proxy();
        const int32_t id = Button().ID();
        QMetaObject::invokeMethod(
            proxy, [proxy, id] { proxy->Manager().KeyPress(id); }, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        return actionNames().contains(action) ? QStringList{QStringLiteral("Space")}
                                              : QStringList{};
    }

private:
    TButtonProxy& Proxy() const { return *static_cast<TButtonProxy*>(widget()); }
    const TCustomButton& Button() const { return Proxy().Button(); }
};

// The status line: its text is its name, and a status bar is where screen readers look for
// what the program just did.
class TStatusAccessible : public QAccessibleWidget
{
public:
    explicit TStatusAccessible(TStatusLabel* label)
        : QAccessibleWidget(label, QAccessible::StatusBar)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<TStatusLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* SkinAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(TButtonProxy::staticMetaObject.className()))
    {
        if (auto* proxy = qobject_cast<TButtonProxy*>(object))
            return new TButtonAccessible(proxy);
    }
    if (className == QLatin1String(TStatusLabel::staticMetaObject.className()))
    {
        if (auto* label = qobject_cast<TStatusLabel*>(object))
            return new TStatusAccessible(label);
    }
    return nullptr;
}

} // namespace

void InstallSkinAccessibility()
{
    static const bool installed = []
    {
        QAccessible::installFactory(&SkinAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
