#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

// What a picture drawn by its window shows, as text for assistive technology ("KEY0
// pressed", "HEX2 A"): a label over the picture that draws nothing itself and lets the
// pointer through. Screen readers read it as a label and hear each new text.
class TPictureText : public QLabel
{
    Q_OBJECT

public:
    /// A label over rect of window, telling text.
    TPictureText(QWidget* window, const QRect& rect, const QString& text = QString());

protected:
    void paintEvent(QPaintEvent* event) override;
};
