#pragma once

#include <QColor>
#include <QWidget>

// A horizontal bar from 0 to 100 with its value written on it as a percentage; no border
// and no background fill, so the window's picture shows around the bar.
class TGauge : public QWidget
{
    Q_OBJECT

public:
    explicit TGauge(QWidget* parent);

    /// Sets the value, kept within 0..100, and repaints when it changed.
    void SetProgress(int value);
    int Progress() const { return m_Progress; }
    /// Sets the bar colour.
    void SetForeColor(const QColor& colour);
    const QColor& ForeColor() const { return m_ForeColor; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_Progress = 0;
    QColor m_ForeColor = Qt::black;
};
