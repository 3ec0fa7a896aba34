#pragma once

#include "skin/CustomButton.h"

#include <QEvent>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPoint;
class QWidget;
class TButtonProxy;

// Selection modes of a button group.
enum TButtonMode : uint8_t
{
    bmRadio = 0, // a release checks that button and unchecks the others (tabs)
    bmPush = 1,  // checked flags are left alone
    bmToggle = 2 // a release flips that button's checked flag (LEDs)
};

inline constexpr int32_t NO_BUTTON_ID = -1;

// The skinned buttons of one window. The window forwards its pointer events here and acts
// on the reported id; its paint handler calls PaintAll after drawing its background.
// A state change repaints the button's rectangle at once; painting draws the current look.
//
// Each button has a TButtonProxy on the window for the keyboard and for assistive technology:
// Tab reaches every enabled button (in the order they were added, unless the window chains
// them otherwise), Space or Return press it through the window's own pointer handlers, so a
// key does exactly what a click does.
class TButtonManager
{
public:
    /// An empty group drawing on window and capturing the pointer for it.
    TButtonManager(QWidget* window, TButtonMode mode);
    ~TButtonManager();
    TButtonManager(const TButtonManager&) = delete;
    TButtonManager& operator=(const TButtonManager&) = delete;

    /// Appends a button at left, top with the named strip. False, adding nothing, when the
    /// strip resource cannot be loaded.
    bool AddButton(int32_t id, const QString& caption, int top, int left,
                   const QString& bitmapName);
    /// Draws every button in list order with its current look.
    void PaintAll(QPainter& canvas) const;
    /// Hover tracking. True when the point is on an enabled button (drawn hover or pressed,
    /// hand cursor, pointer captured); false otherwise (capture released, and the cursor reset
    /// to the default when resetCursor).
    bool MouseMove(int x, int y, bool resetCursor);
    /// True when the press hit an enabled button, which is then drawn pressed.
    bool MouseDown(int x, int y);
    /// Id of the enabled button under the release point, its checked flag updated by the
    /// mode; NO_BUTTON_ID (-1) when there is none. Always ends a press and the capture.
    int32_t MouseUp(int x, int y);
    /// First enabled button containing the point; nullptr when none.
    TCustomButton* ButtonAt(int x, int y) const;
    /// True when an enabled button contains the point.
    bool HitTest(int x, int y) const;
    /// First button with the id; nullptr when none.
    TCustomButton* FindButton(int32_t id) const;
    /// Redraws the button in its resting look.
    void RedrawButton(int32_t id);
    /// Enables or disables the button and redraws it.
    void SetEnabled(int32_t id, bool enable);
    /// False when disabled or when no button has the id.
    bool IsEnabled(int32_t id) const;
    /// False when unchecked or when no button has the id.
    bool IsChecked(int32_t id) const;
    /// Sets the checked flag and redraws the button.
    void SetChecked(int32_t id, bool checked);
    /// Clears every checked flag, redrawing each button.
    void UncheckAll();
    /// Reloads the button's strip from the named resource and redraws it.
    void SetBitmap(int32_t id, const QString& name);
    /// Replaces the caption and redraws the button.
    void SetCaption(int32_t id, const QString& text);
    /// Names a button without a caption for assistive technology ("Close", "GLED0").
    void SetName(int32_t id, const QString& name);

    /// Presses the button from the keyboard: a press and a release at its centre, delivered to
    /// the window's own pointer handlers, then OnKeyPress. False, doing nothing, when no
    /// enabled button has the id or the window is hidden: where a click would miss.
    bool KeyPress(int32_t id);
    /// Told after KeyPress has run the click, with the button's id.
    std::function<void(int32_t id)> OnKeyPress;
    /// The widget that takes the keyboard focus for the button; nullptr when none has the id.
    QWidget* FocusWidget(int32_t id) const;
    /// Redraws button in its current look, the focus look included.
    void Refresh(TCustomButton& button);

    /// Id of the button drawn hover or pressed, NO_BUTTON_ID when none.
    int32_t HotID() const { return m_HotID; }
    /// True between a press on a button and the next release.
    bool IsPressed() const { return m_bPressed; }
    TButtonMode Mode() const { return m_Mode; }
    int Count() const { return static_cast<int>(m_Buttons.size()); }

private:
    void Show(TCustomButton& button, TCustomButton::TLook look);
    void Capture();
    void ReleaseCapture();
    TButtonProxy* ProxyOf(const TCustomButton& button) const;
    void SendPointer(QEvent::Type type, const QPoint& at);

    int32_t m_HotID = NO_BUTTON_ID;
    QWidget* m_hWnd;
    TButtonMode m_Mode;
    bool m_bPressed = false;
    std::vector<std::unique_ptr<TCustomButton>> m_Buttons;
    // One per button, in the same order; the window owns them, this manager deletes them.
    std::vector<QPointer<TButtonProxy>> m_Proxies;
};
