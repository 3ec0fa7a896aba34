#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;

// The screen the layouts were drawn for: 96 dots per inch, so 8 points are 11 pixels.
inline constexpr int LAYOUT_DPI = 96;
inline constexpr int POINTS_PER_INCH = 72;

/// A font of family at points on the layout's screen, fixed in pixels so that text measures
/// the same on every screen.
QFont PointFont(const QString& family, int points, bool bold = false);
/// A font of family fixed at pixels.
QFont PixelFont(const QString& family, int pixels, bool bold = false);
/// A label at rect with font and alignment that lets the pointer through to its window.
QLabel* MakeLabel(QWidget* parent, const QRect& rect, const QFont& font, Qt::Alignment alignment);
/// Gives label its place, font and alignment and lets the pointer through to its window.
void PlaceLabel(QLabel* label, const QRect& rect, const QFont& font, Qt::Alignment alignment);
/// A label as MakeLabel, aligned top-left, showing the Latin-1 text in colour.
QLabel* MakeTextLabel(QWidget* parent, const QRect& rect, const QFont& font, const char* text,
                      const QColor& colour);
/// Sets a label's text colour.
void SetLabelColour(QLabel* label, const QColor& colour);
/// A hidden platform button: it only lends its place and caption to the skinned button
/// drawn over it.
QPushButton* MakeHiddenButton(QWidget* parent, const QRect& rect, const QString& caption);
/// Names control after the caption beside it, for assistive technology: the caption's text
/// without its closing colon. The caption becomes the control's buddy.
void NameAfterCaption(QWidget* control, QLabel* caption);
/// Chains Tab through controls in their order. Skinned buttons take their place whether
/// enabled or not (Tab passes a disabled one by).
void ChainFocus(const std::vector<QWidget*>& controls);
/// Chains Tab through the controls of window in reading order: by rows from the top, each row
/// from the left. Skinned buttons count whether enabled or not; hidden controls do not.
void OrderFocusByPlace(QWidget* window);
