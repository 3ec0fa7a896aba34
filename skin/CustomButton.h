#pragma once

#include "skin/SkinBitmap.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>

class QPainter;

// Rows of a button's bitmap strip, top to bottom.
inline constexpr int BUTTON_ROW_NORMAL = 0;
inline constexpr int BUTTON_ROW_DISABLED = 1;
inline constexpr int BUTTON_ROW_HOVER = 2;
inline constexpr int BUTTON_ROW_PRESSED = 3;
inline constexpr int BUTTON_STRIP_ROWS = 4;

// Caption look: "Arial" 8 points, which is 11 pixels on the 96 dpi screen the skin is drawn for.
inline constexpr const char* BUTTON_CAPTION_FONT = "Arial";
inline constexpr int BUTTON_CAPTION_PIXELS = 11;

// One skinned button, drawn from a four-row strip; owned by its TButtonManager.
class TCustomButton
{
public:
    // What the button shows between window paints; only the manager changes it.
    enum TLook
    {
        lkResting,
        lkHover,
        lkPressed
    };

    /// Loads the strip by name when it is not empty; a strip that cannot be loaded leaves the
    /// button without one (HasBitmap false): it then has no area and is never hit.
    /// transparent is accepted for the callers' sake: strip rows are always copied opaque.
    TCustomButton(int32_t id, const QString& caption, bool transparent, int top, int left,
                  const QString& bitmapName);
    TCustomButton(const TCustomButton&) = delete;
    TCustomButton& operator=(const TCustomButton&) = delete;

    /// True when the point lies in the button's rectangle; right and bottom edges are outside.
    bool Contains(int x, int y) const;
    /// Copies one strip row to the button's place, opaque, then the centred caption.
    void Draw(QPainter& canvas, int row) const;
    /// Draws the resting row: normal when enabled, disabled otherwise.
    void Paint(QPainter& canvas) const;
    /// Draws the row that the current look asks for, and the focus outline while the keyboard
    /// focus shows on the button.
    void PaintLook(QPainter& canvas) const;
    /// Replaces the caption.
    void SetCaption(const QString& text);
    /// Reloads the strip from the named resource; nothing for an empty name. False when the
    /// button has no strip or the resource cannot be loaded (the old strip stays).
    bool SetBitmap(const QString& name);

    /// The button's rectangle in client coordinates; empty without a strip.
    QRect Rect() const;
    /// The row that the current look draws; a resting button with the keyboard focus shows
    /// its hover row.
    int LookRow() const;
    bool HasBitmap() const { return m_pBitmap != nullptr; }

    int32_t ID() const { return m_ID; }
    bool IsEnabled() const { return m_bEnabled; }
    bool IsChecked() const { return m_bChecked; }
    const QString& Caption() const { return m_Caption; }
    /// What assistive technology calls the button: the name given to it, else its caption.
    const QString& Name() const { return m_Name.isEmpty() ? m_Caption : m_Name; }
    /// Names a button whose picture says what it does (an arrow, a lamp) for those who cannot
    /// see it.
    void SetName(const QString& name) { m_Name = name; }
    /// True while the keyboard focus shows on the button.
    bool IsFocused() const { return m_bFocused; }
    void SetFocused(bool focused) { m_bFocused = focused; }
    /// Name of the strip last loaded; empty without one.
    const QString& BitmapName() const { return m_BitmapName; }
    TLook Look() const { return m_Look; }
    void SetEnabled(bool enabled) { m_bEnabled = enabled; }
    void SetChecked(bool checked) { m_bChecked = checked; }
    void SetLook(TLook look) { m_Look = look; }

private:
    int RowHeight() const;

    int32_t m_ID;
    bool m_bEnabled = true;
    int32_t m_X;
    int32_t m_Y;
    QString m_Caption;
    QString m_Name;
    std::unique_ptr<TSkinBitmap> m_pBitmap;
    QString m_BitmapName;
    bool m_bChecked = false;
    TLook m_Look = lkResting;
    bool m_bFocused = false;
};
