#include "skin/ButtonManager.h"

#include "skin/AppCursor.h"
#include "skin/ButtonProxy.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

TButtonManager::TButtonManager(QWidget* window, TButtonMode mode) : m_hWnd(window), m_Mode(mode)
{
}

TButtonManager::~TButtonManager()
{
    ReleaseCapture();
    for (const QPointer<TButtonProxy>& proxy : m_Proxies)
        delete proxy.data();
}

bool TButtonManager::AddButton(int32_t id, const QString& caption, int top, int left,
                               const QString& bitmapName)
{
    auto button = std::make_unique<TCustomButton>(id, caption, true, top, left, bitmapName);
    if (!button->HasBitmap())
    {
        return false;
    }
    m_Proxies.emplace_back(m_hWnd ? new TButtonProxy(m_hWnd, *this, *button) : nullptr);
    m_Buttons.push_back(std::move(button));
    return true;
}

void TButtonManager::PaintAll(QPainter& canvas) const
{
    for (const auto& button : m_Buttons)
    {
        button->PaintLook(canvas);
    }
}

// The look lives with the button; the window's paint handler draws it, and repaint() makes
// that happen before this call returns, as drawing straight onto the window would.
void TButtonManager::Show(TCustomButton& button, TCustomButton::TLook look)
{
    button.SetLook(look);
    if (TButtonProxy* proxy = ProxyOf(button))
        proxy->Sync();
    if (m_hWnd && m_hWnd->isVisible())
    {
        m_hWnd->repaint(button.Rect());
    }
}

void TButtonManager::Capture()
{
    if (m_hWnd && m_hWnd->isVisible() && QWidget::mouseGrabber() != m_hWnd)
    {
        m_hWnd->grabMouse();
    }
}

void TButtonManager::ReleaseCapture()
{
    if (m_hWnd && QWidget::mouseGrabber() == m_hWnd)
    {
        m_hWnd->releaseMouse();
    }
}

TCustomButton* TButtonManager::ButtonAt(int x, int y) const
{
    for (const auto& button : m_Buttons)
    {
        if (button->IsEnabled() && button->Contains(x, y))
        {
            return button.get();
        }
    }
    return nullptr;
}

bool TButtonManager::HitTest(int x, int y) const
{
    return ButtonAt(x, y) != nullptr;
}

TCustomButton* TButtonManager::FindButton(int32_t id) const
{
    for (const auto& button : m_Buttons)
    {
        if (button->ID() == id)
        {
            return button.get();
        }
    }
    return nullptr;
}

bool TButtonManager::MouseMove(int x, int y, bool resetCursor)
{
    TCustomButton* button = ButtonAt(x, y);
    if (button)
    {
        SetAppCursor(Qt::PointingHandCursor);
        const auto look = m_bPressed ? TCustomButton::lkPressed : TCustomButton::lkHover;
        if (button->Look() != look)
        {
            Show(*button, look);
        }
        if (button->ID() != m_HotID && m_HotID >= 0)
        {
            RedrawButton(m_HotID);
        }
        m_HotID = button->ID();
        Capture();
        return true;
    }
    if (resetCursor)
    {
        SetAppCursor(Qt::ArrowCursor);
    }
    if (m_HotID >= 0)
    {
        RedrawButton(m_HotID);
        m_HotID = NO_BUTTON_ID;
    }
    ReleaseCapture();
    return false;
}

bool TButtonManager::MouseDown(int x, int y)
{
    TCustomButton* button = ButtonAt(x, y);
    if (!button)
    {
        return false;
    }
    Show(*button, TCustomButton::lkPressed);
    m_bPressed = true;
    return true;
}

int32_t TButtonManager::MouseUp(int x, int y)
{
    int32_t result = NO_BUTTON_ID;
    if (TCustomButton* button = ButtonAt(x, y))
    {
        result = button->ID();
        switch (m_Mode)
        {
        case bmRadio:
            UncheckAll();
            button->SetChecked(true);
            break;
        case bmToggle:
            button->SetChecked(!button->IsChecked());
            break;
        case bmPush:
            break;
        }
        Show(*button, TCustomButton::lkResting);
    }
    m_bPressed = false;
    ReleaseCapture();
    return result;
}

void TButtonManager::RedrawButton(int32_t id)
{
    if (TCustomButton* button = FindButton(id))
    {
        Show(*button, TCustomButton::lkResting);
    }
}

void TButtonManager::SetEnabled(int32_t id, bool enable)
{
    if (TCustomButton* button = FindButton(id))
    {
        button->SetEnabled(enable);
        Show(*button, TCustomButton::lkResting);
    }
}

bool TButtonManager::IsEnabled(int32_t id) const
{
    const TCustomButton* button = FindButton(id);
    return button && button->IsEnabled();
}

bool TButtonManager::IsChecked(int32_t id) const
{
    const TCustomButton* button = FindButton(id);
    return button && button->IsChecked();
}

void TButtonManager::SetChecked(int32_t id, bool checked)
{
    if (TCustomButton* button = FindButton(id))
    {
        button->SetChecked(checked);
        Show(*button, TCustomButton::lkResting);
    }
}

void TButtonManager::UncheckAll()
{
    for (const auto& button : m_Buttons)
    {
        button->SetChecked(false);
        Show(*button, TCustomButton::lkResting);
    }
}

void TButtonManager::SetBitmap(int32_t id, const QString& name)
{
    if (TCustomButton* button = FindButton(id))
    {
        button->SetBitmap(name);
        Show(*button, TCustomButton::lkResting);
    }
}

void TButtonManager::SetCaption(int32_t id, const QString& text)
{
    if (TCustomButton* button = FindButton(id))
    {
        button->SetCaption(text);
        Show(*button, TCustomButton::lkResting);
    }
}

void TButtonManager::SetName(int32_t id, const QString& name)
{
    if (TCustomButton* button = FindButton(id))
    {
        button->SetName(name);
        Show(*button, button->Look());
    }
}

TButtonProxy* TButtonManager::ProxyOf(const TCustomButton& button) const
{
    for (std::size_t i = 0; i < m_Buttons.size(); ++i)
    {
        if (m_Buttons[i].get() == &button)
            return m_Proxies[i].data();
    }
    return nullptr;
}

QWidget* TButtonManager::FocusWidget(int32_t id) const
{
    const TCustomButton* button = FindButton(id);
    return button ? ProxyOf(*button) : nullptr;
}

void TButtonManager::Refresh(TCustomButton& button)
{
    Show(button, button.Look());
}

bool TButtonManager::KeyPress(int32_t id)
{
    const TCustomButton* button = FindButton(id);
    if (!button || !button->IsEnabled() || !m_hWnd || !m_hWnd->isVisible())
        return false;
    const QPoint at = button->Rect().center();
    const QPointer<QWidget> window = m_hWnd;
    SendPointer(QEvent::MouseButtonPress, at);
    if (!window)
        return true;
    SendPointer(QEvent::MouseButtonRelease, at);
    if (window && OnKeyPress)
        OnKeyPress(id);
    return true;
}

// Not a spontaneous event: the window system's focus and pointer state stay as they are.
void TButtonManager::SendPointer(QEvent::Type type, const QPoint& at)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(Qt::LeftButton) : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), QPointF(m_hWnd->mapTo(m_hWnd->window(), at)),
                      QPointF(m_hWnd->mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(m_hWnd, &event);
}
