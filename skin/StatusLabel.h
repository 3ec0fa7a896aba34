#pragma once

#include <QLabel>

// A one-line status text on the skin. Assistive technology sees a status bar named by the
// text; the label tells it of every new text (the same text again tells nothing), so that a
// screen reader can say what just happened.
class TStatusLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TStatusLabel(QWidget* parent);
};
