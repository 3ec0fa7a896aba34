#pragma once

#include <QLabel>

// A one-line status text on the skin. Assistive technology sees a status bar whose name is
// the text, and is told of every new text, so that a screen reader can say what just happened.
class TStatusLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TStatusLabel(QWidget* parent);

    /// Replaces the text and tells assistive technology; the same text again tells nothing.
    void SetText(const QString& text);
};
